#!/usr/bin/env bash
# Takes the README's pictures of the About box and the settings dialog: the editor runs in a
# virtual display, opens each dialog from its menu, and the dialog's window is saved.
# Writes docs/about-dialog.png and docs/settings-dialog.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh build >/dev/null
cmake --build build --target propdesk-grab-window >/dev/null

source scripts/virtual_display.sh
start_virtual_display 960x640
export LANG=ja_JP.UTF-8

# Settings that show the converter in use.
mkdir -p "$XDG_CONFIG_HOME/Orvandi"
cat >"$XDG_CONFIG_HOME/Orvandi/Propdesk.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Orvandi\Propdesk]
"ReadOnlyOpen"=dword:00000001
"ExitByESC"=dword:00000000
"UseNative2Ascii"=dword:00000001
"Native2AsciiPath"="/usr/lib/jvm/java-8-openjdk-amd64/bin/native2ascii -encoding MS932"
REG

build/src/shell/propdesk &
editor_pid=$!
frame=$(timeout 20 xdotool search --sync --onlyvisible --name ' - Propdesk$' | head -n 1)

# The visible window captioned exactly $1. (xdotool's name patterns do not match Japanese text.)
find_window() {
  for _ in $(seq 100); do
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      [ "$(xdotool getwindowname "$window")" = "$1" ] && { echo "$window"; return 0; }
    done
    sleep 0.2
  done
  echo "no window captioned $1" >&2
  return 1
}

# Opens a dialog with the menu keys, saves its window as the picture, and closes it with ESC.
picture() {
  local keys=$1 caption=$2 output=$3
  xdotool windowfocus --sync "$frame"
  xdotool key --delay 150 $keys
  local dialog
  dialog=$(find_window "$caption")
  sleep 0.5
  build/tools/propdesk-grab-window "$dialog" "$output"
  xdotool key Escape
  echo "Wrote $output"
}

mkdir -p docs
picture "alt+h a" "バージョン情報" docs/about-dialog.png
picture "alt+t s" "設定" docs/settings-dialog.png
