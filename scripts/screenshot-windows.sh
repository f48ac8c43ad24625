#!/usr/bin/env bash
# Takes the README's pictures of the Windows editor under Wine in a virtual display, with a Japanese
# locale (code page 932): the editor holding the bundled example file, then the settings dialog,
# the About box and the Replace dialog, each opened from the editor's menu with its keys.
# Usage: scripts/screenshot-windows.sh [FOLDER]   (default docs; writes windows-screenshot.png,
# windows-settings-dialog.png, windows-about-dialog.png and windows-replace-dialog.png)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-docs}
scripts/setup-deps.sh windows
# Only the editor of the x86_64 build, and the window grabber of the Linux build.
cmake -S . -B build-windows-x86_64 -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake -DPROPDESK_BUILD_SHELL=OFF >/dev/null
cmake --build build-windows-x86_64 --target propdesk_win32_app >/dev/null
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target propdesk-grab-window >/dev/null
editor=build-windows-x86_64/src/win32/propdesk.exe

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
source scripts/virtual_display.sh
trap 'wineserver -k 2>/dev/null || true; stop_virtual_display; rm -rf "$WINEPREFIX"' EXIT
start_virtual_display 1024x768
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
mkdir -p "$folder"

wineserver -p
timeout 300 wineboot -i >/dev/null 2>&1
# Windows' Japanese fonts are IPA Gothic here (the proportional ones IPA P Gothic), so that
# Japanese text shows in the menus, dialogs and edit view; the edit view's system font is fixed
# pitch, as on Windows. Without a window manager, Wine draws the title bars and frames itself when
# told to, as Windows does; their buttons need Wine's Marlett, which this Wine finds only in the
# prefix's font folder.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
replace_font() {
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$1" /t REG_SZ /d "$2" /f >/dev/null
}
for font in "MS UI Gothic" "MS PGothic" "ＭＳ Ｐゴシック"; do replace_font "$font" IPAPGothic; done
for font in "MS Gothic" "ＭＳ ゴシック" System; do replace_font "$font" IPAGothic; done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null

# Saves window $1 as picture $2 once two grabs in a row agree, that is once Wine has painted it.
grab() {
  local previous="$work/previous.png" latest="$work/latest.png"
  build/tools/propdesk-grab-window "$1" "$previous" 2>/dev/null
  for _ in $(seq 30); do
    sleep 0.3
    build/tools/propdesk-grab-window "$1" "$latest" 2>/dev/null
    if cmp -s "$previous" "$latest"; then
      mv "$latest" "$2"
      echo "Wrote $2"
      return 0
    fi
    mv "$latest" "$previous"
  done
  echo "window $1 did not settle" >&2
  return 1
}

# Gives the frame the focus and presses Alt with a menu's letter, then the item's letter.
menu_command() {
  xdotool windowfocus --sync "$frame"
  xdotool key --delay 300 "alt+$1" "$2"
}

wine "$editor" examples/orders_ja.properties >/dev/null 2>&1 &
editor_pid=$!
frame=$(find_window "examples/orders_ja.properties - Propdesk")
grab "$frame" "$folder/windows-screenshot.png"

# The settings dialog with the converter ticked and a JDK's command typed in; ESC leaves the
# settings as they were.
menu_command t s
dialog=$(find_window "設定")
xdotool key alt+n
xdotool key --delay 50 alt+p ctrl+a
xdotool type --delay 20 'C:\jdk1.8.0_202\bin\native2ascii.exe -encoding MS932'
xdotool key Home
grab "$dialog" "$folder/windows-settings-dialog.png"
xdotool key Escape

menu_command h a
grab "$(find_window "バージョン情報")" "$folder/windows-about-dialog.png"
xdotool key Escape

# Opened files are edit-forbidden, and Replace needs an editable document: 編集禁止 first. The
# dialog is the system's, captioned in Wine's Japanese.
menu_command e b
menu_command e r
dialog=$(find_window "文字列の置換")
xdotool type --delay 100 "発送"
xdotool key Tab
xdotool type --delay 100 "出荷"
grab "$dialog" "$folder/windows-replace-dialog.png"
