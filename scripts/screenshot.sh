#!/usr/bin/env bash
# Takes the README's pictures in a virtual display: the editor holding the bundled example file,
# then the About box and the settings dialog, each opened from the editor's menu, then the editor
# under a dark theme (scripts/dark-theme.qss).
# Usage: scripts/screenshot.sh [FOLDER]   (default docs; writes screenshot.png, about-dialog.png,
# settings-dialog.png and screenshot-dark.png)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-docs}
scripts/setup-deps.sh
scripts/build.sh build >/dev/null
cmake --build build --target propdesk-grab-window >/dev/null

source scripts/virtual_display.sh
start_virtual_display 960x640
export LANG=ja_JP.UTF-8
mkdir -p "$folder"

# Saves window $1 as picture $2.
grab() {
  sleep 0.5
  build/tools/propdesk-grab-window "$1" "$2"
  echo "Wrote $2"
}

build/src/qt/propdesk examples/orders_ja.properties &
editor_pid=$!
frame=$(find_window "examples/orders_ja.properties - Propdesk")
# A mouse movement over the text brings up the caret position in the status bar.
xdotool mousemove --window "$frame" 200 200
grab "$frame" "$folder/screenshot.png"

xdotool windowfocus --sync "$frame"
xdotool key --delay 150 alt+h a
grab "$(find_window "バージョン情報")" "$folder/about-dialog.png"
xdotool key Escape

# The settings dialog with the converter ticked and a JDK's command typed in; ESC leaves the
# settings as they were.
xdotool windowfocus --sync "$frame"
xdotool key --delay 150 alt+t s
dialog=$(find_window "設定")
# A mnemonic clicks its box after a short animation; the path field is usable only then.
xdotool key alt+n
sleep 0.5
xdotool key --delay 50 alt+p ctrl+a
xdotool type --delay 20 "/usr/lib/jvm/java-8-openjdk-amd64/bin/native2ascii -encoding MS932"
grab "$dialog" "$folder/settings-dialog.png"
xdotool key Escape

# The editor again under a dark theme, whose link colours it makes readable on the dark background.
kill "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
build/src/qt/propdesk examples/orders_ja.properties -stylesheet scripts/dark-theme.qss &
editor_pid=$!
frame=$(find_window "examples/orders_ja.properties - Propdesk")
xdotool mousemove --window "$frame" 200 200
grab "$frame" "$folder/screenshot-dark.png"
