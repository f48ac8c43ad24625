#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor with the bundled example file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
echo "Building the editor in build/ (the first build takes a few minutes)..." >&2
scripts/build.sh build >/dev/null

editor=build/src/qt/propdesk
example=examples/orders_ja.properties
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<EOT
The editor is built, but it cannot open a window here: neither DISPLAY nor WAYLAND_DISPLAY is set.
Start it from a desktop session (or over ssh -X):
  $editor $example
To check that it starts without a display, run it in a virtual one (no window to see):
  xvfb-run -a $editor $example
scripts/screenshot.sh shows what the window looks like with the example file.
EOT
  exit 1
fi
exec "$editor" "$example"
