#!/usr/bin/env bash
# Draws the About box and the settings dialog on a virtual X server and saves them as
# docs/about-dialog.png and docs/settings-dialog.png for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build build --target dialog_screenshots >/dev/null
mkdir -p docs
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" build/tests/shell/dialog_screenshots docs
echo "Saved docs/about-dialog.png and docs/settings-dialog.png"
