#!/usr/bin/env bash
# Starts the Windows editor under Wine with a file on its command line, types into it like a
# person, saves with Ctrl+S and closes it with Alt+F4; then checks the bytes on disk and the exit
# code. Each step waits for what the editor shows with a bound, never for a fixed time. Uses the
# display in DISPLAY (scripts/test-windows.sh makes one for the run), else a virtual one of its own.
# Skips (exit 77) when xdotool is missing. Usage: end_to_end_test.sh PATH_TO_PROPDESK_EXE
set -euo pipefail
editor=$1
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed (scripts/setup-deps.sh installs it)"; exit 77; }
source "$(dirname "$0")/../../scripts/virtual_display.sh"
[ -n "${DISPLAY:-}" ] || start_virtual_display 800x600 || { echo "FAIL: no virtual display"; exit 1; }

# LF line ends: the file's style, which the save keeps.
file="$work/messages.properties"
printf 'name=value\ngreeting=\\u3053\\u3093\\u306b\\u3061\\u306f\n' >"$file"
printf 'new=name=value\ngreeting=\\u3053\\u3093\\u306b\\u3061\\u306f\n' >"$work/expected"

wine "$editor" "$file" &
editor_pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name 'messages\.properties' | head -n 1) || true
[ -n "$window" ] || { echo "FAIL: no window titled with the file"; exit 1; }
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
clean_title=$(xdotool getwindowname "$window")
title_is_modified() { [ "$(xdotool getwindowname "$window")" != "$clean_title" ]; }
title_is_clean() { [ "$(xdotool getwindowname "$window")" = "$clean_title" ]; }
file_holds_expected() { cmp -s "$file" "$work/expected"; }

# Opened files start edit-forbidden; Ctrl+R allows editing. The caret stands at the start.
xdotool key --delay 100 ctrl+r
xdotool type --delay 50 'new='
wait_until 20 "FAIL: typed text did not arrive (title: $(xdotool getwindowname "$window"))" title_is_modified || exit 1
xdotool key ctrl+s
wait_until 20 "FAIL: saved bytes differ" file_holds_expected || { od -c "$file" | head; exit 1; }
wait_until 20 "FAIL: the title still shows a modified document after the save" title_is_clean || exit 1

# Saved, so Alt+F4 closes without asking, with exit code 0.
xdotool key alt+F4
has_ended() { ! kill -0 "$editor_pid" 2>/dev/null; }
wait_until 20 "FAIL: the editor did not close" has_ended || exit 1
status=0
wait "$editor_pid" || status=$?
editor_pid=
[ "$status" -eq 0 ] || { echo "FAIL: exit code $status"; exit 1; }
echo "PASS"
