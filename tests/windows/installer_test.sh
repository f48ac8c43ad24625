#!/usr/bin/env bash
# Installs Propdesk silently into a fresh Wine prefix, as a scripted set-up would, with the folder
# put on PATH, and checks what the person gets: the programs, the Start-menu link, the entry in
# Apps & features, the "Open with" keys beside another program's association, and PATH. Runs the
# installed converter, and starts the installed editor through the command registered for
# .properties files. Then uninstalls silently and wants nothing named Propdesk left but the
# editor's settings key, and PATH and the other program's keys as they were. Last, a PATH too long
# to extend safely is left as it was.
# Uses the display in DISPLAY, else a virtual one of its own. Skips (exit 77) without xdotool.
# Usage: installer_test.sh INSTALLER VERSION
set -euo pipefail
[ -f "$1" ] || { echo "FAIL: no installer $1 (scripts/package-windows.sh makes it)"; exit 1; }
installer=$(realpath "$1")
version=$2
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed (scripts/setup-deps.sh installs it)"; exit 77; }
source "$(dirname "$0")/../../scripts/virtual_display.sh"
[ -n "${DISPLAY:-}" ] || start_virtual_display 800x600 || { echo "FAIL: no virtual display"; exit 1; }

# winemenubuilder would copy the Start-menu link and the file type into this machine's own menus.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Without errexit, so that a process already gone does not stop the clean-up half way.
trap 'set +e; wineserver -k 2>/dev/null; stop_virtual_display' EXIT
timeout 120 wineboot -i >/dev/null 2>&1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# reg_value KEY NAME: the data of a value ("" for the key's default value), or nothing.
reg_value() {
  local which=(/v "$2")
  [ -n "$2" ] || which=(/ve)
  # The default value's name comes in the locale's code page, which sed in a UTF-8 locale cannot read.
  wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/^ .*REG_[A-Z_]*    //p'
}
expect_value() {
  local actual
  actual=$(reg_value "$1" "$2")
  [ "$actual" = "$3" ] || fail "$1 ${2:-(default)} is '$actual', not '$3'"
}
classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Propdesk'
settings_key='HKCU\Software\Orvandi\Propdesk'
user_path='C:\tools;%USERPROFILE%\bin'

# Another program's default association and "Open with" entry, and a PATH of the person's own.
wine reg add "$classes\\.properties" /ve /d Other.properties /f >/dev/null
wine reg add "$classes\\.properties\\OpenWithProgids" /v Other.properties /t REG_NONE /f >/dev/null
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$user_path" /f >/dev/null

timeout 120 wine "$installer" /S /AddToPath || fail "the installer exits with status $?"

folders=$(wine cmd /c 'echo %LOCALAPPDATA%& echo %APPDATA%' | tr -d '\r')
folder="$(sed -n 1p <<<"$folders")\\Programs\\Propdesk"
folder_unix=$(winepath -u "$folder")
link=$(winepath -u "$(sed -n 2p <<<"$folders")\\Microsoft\\Windows\\Start Menu\\Programs\\Propdesk.lnk")
for file in propdesk.exe propdesk-native2ascii.exe uninstall.exe; do
  [ -s "$folder_unix/$file" ] || fail "not installed: $folder\\$file"
done
{ strings "$link"; strings -el "$link"; } 2>/dev/null | grep -ixF "$folder\\propdesk.exe" >/dev/null || fail "no Start-menu link to the editor"

expect_value "$uninstall_key" DisplayName Propdesk
expect_value "$uninstall_key" DisplayVersion "$version"
expect_value "$uninstall_key" Publisher Orvandi
expect_value "$uninstall_key" DisplayIcon "$folder\\propdesk.exe,0"
expect_value "$uninstall_key" InstallLocation "$folder"
expect_value "$uninstall_key" UninstallString "\"$folder\\uninstall.exe\""
expect_value "$uninstall_key" QuietUninstallString "\"$folder\\uninstall.exe\" /S"
[[ $(reg_value "$uninstall_key" EstimatedSize) =~ ^0x[1-9a-f] ]] || fail "no EstimatedSize"
command=$(reg_value "$classes\\Propdesk.properties\\shell\\open\\command" "")
[ "$command" = "\"$folder\\propdesk.exe\" \"%1\"" ] || fail "the open command is '$command'"
wine reg query "$classes\\.properties\\OpenWithProgids" /v Propdesk.properties >/dev/null 2>&1 ||
  fail "Propdesk is not offered in Open with"
expect_value "$classes\\.properties" "" Other.properties
expect_value 'HKCU\Environment' Path "$user_path;$folder"

# The installed converter: its version, and one file converted.
converter_says=$(wine "$folder_unix/propdesk-native2ascii.exe" --version | tr -d '\r')
[ "$converter_says" = "propdesk-native2ascii $version" ] || fail "the converter says '$converter_says'"
printf 'greeting=\x93\xfa\x96\x7b\r\n' >"$work/native.properties"
wine "$folder_unix/propdesk-native2ascii.exe" "$work/native.properties" "$work/escaped.properties" ||
  fail "the converter exits with status $?"
grep -qix 'greeting=\\u65e5\\u672c'$'\r' "$work/escaped.properties" || fail "the converter wrote $(od -c "$work/escaped.properties")"

# The editor, started by the registered command with a file whose name is Japanese.
file="$work/メッセージ.properties"
printf 'greeting=\\u3053\\u3093\\u306b\\u3061\\u306f\n' >"$file"
editor=$(sed 's/^"\([^"]*\)".*/\1/' <<<"$command")
wine "$editor" "$(winepath -w "$file")" &
editor_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name 'メッセージ\.properties' | head -n 1) || true
if [ -n "$window" ]; then
  title=$(xdotool getwindowname "$window")
  [[ $title == *Propdesk* ]] || fail "the window title is '$title'"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key alt+F4
  has_ended() { ! kill -0 "$editor_pid" 2>/dev/null; }
  wait_until 20 "FAIL: the editor did not close" has_ended && editor_pid= || failures=$((failures + 1))
else
  fail "no window titled with the file"
fi

# The settings the editor keeps must outlive the uninstaller.
wine reg add "$settings_key" /v Kept /d yes /f >/dev/null
# The uninstaller copies itself to the temporary folder and returns at once; the copy removes the
# folder last.
timeout 60 wine "$folder_unix/uninstall.exe" /S || fail "the uninstaller exits with status $?"
folder_is_gone() { [ ! -e "$folder_unix" ]; }
wait_until 60 "FAIL: the installation folder is still there" folder_is_gone || failures=$((failures + 1))
timeout 60 wineserver -w || true

left=$(find "$WINEPREFIX/drive_c" -iname '*propdesk*')
[ -z "$left" ] || fail "left behind: $left"
[ ! -e "$link" ] || fail "the Start-menu link is left behind"
# Every registry key that names Propdesk in its path or its values, but the settings key.
keys=$(awk 'substr($0, 1, 1) == "[" { key = $0 } tolower($0) ~ /propdesk/ { print key }' \
         "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" | sort -u | grep -vF '[Software\\Orvandi\\Propdesk]' || true)
[ -z "$keys" ] || fail "keys left behind: $keys"
expect_value "$settings_key" Kept yes
expect_value "$classes\\.properties" "" Other.properties
wine reg query "$classes\\.properties\\OpenWithProgids" /v Other.properties >/dev/null 2>&1 ||
  fail "the uninstaller removed another program's Open with entry"
expect_value 'HKCU\Environment' Path "$user_path"

# A PATH longer than the installer's strings hold is left whole, not cut off and extended.
long_path=$(printf 'C:\\Tools\\%04d;' $(seq 100))
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null
timeout 120 wine "$installer" /S /AddToPath || fail "the installer exits with status $? on a long PATH"
expect_value 'HKCU\Environment' Path "$long_path"

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
