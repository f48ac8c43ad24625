#!/usr/bin/env bash
# Takes the README's screenshot: the editor holding the bundled example file, in a virtual display.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (default docs/screenshot.png)
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/screenshot.png}
scripts/setup-deps.sh
scripts/build.sh build >/dev/null
cmake --build build --target propdesk-grab-window >/dev/null

source scripts/virtual_display.sh
start_virtual_display 960x640
export LANG=ja_JP.UTF-8

build/src/shell/propdesk examples/orders_ja.properties &
editor_pid=$!
window=$(timeout 20 xdotool search --sync --name 'orders_ja\.properties' | head -n 1)
# A mouse movement over the text brings up the caret position in the status bar.
xdotool mousemove --window "$window" 200 200
sleep 1
mkdir -p "$(dirname "$output")"
build/tools/propdesk-grab-window "$window" "$output"
echo "Wrote $output"
