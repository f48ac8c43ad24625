#!/usr/bin/env bash
# Runs a Windows program under Wine inside a virtual X display of its own, so that a test that
# makes real windows works on a machine without a display. With DISPLAY set (scripts/test-windows.sh
# sets one for the whole run) that display is used. Usage: run_in_display.sh PROGRAM [ARG...]
set -euo pipefail
[ -n "${DISPLAY:-}" ] && exec wine "$@"
folder=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$folder"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$folder/display" ] && break
  sleep 0.1
done
[ -s "$folder/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$folder/display")" wine "$@"
