#!/usr/bin/env bash
# Runs a Windows program under Wine inside a virtual X display of its own, so that a test that
# makes real windows works on a machine without a display. With DISPLAY set (scripts/test-windows.sh
# sets one for the whole run) that display is used. Usage: run_in_display.sh PROGRAM [ARG...]
set -euo pipefail
[ -n "${DISPLAY:-}" ] && exec wine "$@"
source "$(dirname "$0")/../../scripts/virtual_display.sh"
start_virtual_display 1024x768 || { echo "Xvfb did not start" >&2; exit 1; }
wine "$@"
