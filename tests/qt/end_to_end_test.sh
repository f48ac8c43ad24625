#!/usr/bin/env bash
# Starts the built editor in a virtual display with a file on the command line, types into it
# like a person, saves with Ctrl+S and quits through the File menu; then checks the bytes on disk
# and the exit code. Each step waits for what the editor shows (window, focus, title, saved
# file) with a bound, never for a fixed time. Skips (exit 77) when Xvfb or xdotool is missing.
# Usage: end_to_end_test.sh PATH_TO_PROPDESK
set -euo pipefail
editor=$1
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup-deps.sh installs it)"; exit 77; }
done

here=$(dirname "$0")
# A sanitizer build reports leaks at exit; the system libraries of a real display keep some.
export LSAN_OPTIONS="suppressions=$here/system_leaks.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
source "$here/../../scripts/virtual_display.sh"
start_virtual_display 800x600 || { echo "FAIL: no virtual display"; exit 1; }
bind_keys 'あい' || { echo "FAIL: cannot bind keys for the Japanese text"; exit 1; }

# LF line ends: the file's style, which the save keeps.
file="$work/messages.properties"
greeting='greeting=\\u3053\\u3093\\u306b\\u3061\\u306f\nname=value\n'
printf "$greeting" >"$file"
printf "new=$greeting" >"$work/after_first_save"
printf "new=\\\\u3042\\\\u3044\n$greeting" >"$work/expected"

"$editor" "$file" &
editor_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'messages\.properties' | head -n 1) || true
[ -n "$window" ] || { echo "FAIL: no window titled with the file"; exit 1; }
xdotool windowfocus "$window"
has_focus() { [ "$(xdotool getwindowfocus)" = "$window" ]; }
wait_until 20 "FAIL: the window did not get the keyboard focus" has_focus || exit 1

clean_title=$(xdotool getwindowname "$window")
title_is_modified() { [ "$(xdotool getwindowname "$window")" != "$clean_title" ]; }
title_is_clean() { [ "$(xdotool getwindowname "$window")" = "$clean_title" ]; }
file_holds() { cmp -s "$file" "$1"; }
show_difference() {
  echo "expected:"; od -c "$1" | head -20
  echo "actual:"; od -c "$file" | head -20
}

# Opened files start edit-forbidden; Ctrl+R allows editing. The caret stands at the start. A
# changed title shows that the typed keys arrived.
xdotool key ctrl+r
xdotool type --delay 50 'new='
wait_until 20 "FAIL: typed text did not arrive (title: $(xdotool getwindowname "$window"))" title_is_modified || exit 1
xdotool key ctrl+s
wait_until 20 "FAIL: the first save did not write the typed text" file_holds "$work/after_first_save" ||
  { show_difference "$work/after_first_save"; exit 1; }
wait_until 20 "FAIL: the title still shows a modified document after the save" title_is_clean || exit 1

xdotool type --delay 50 'あい'
wait_until 20 "FAIL: typed Japanese text did not arrive" title_is_modified || exit 1
xdotool key Return ctrl+s
wait_until 20 "FAIL: saved bytes differ" file_holds "$work/expected" || { show_difference "$work/expected"; exit 1; }

# File menu, Exit: the document is saved, so the editor quits without asking, with code 0.
xdotool key --delay 100 alt+f x
timeout 20 tail --pid="$editor_pid" -f /dev/null || { echo "FAIL: the editor did not quit"; exit 1; }
status=0
wait "$editor_pid" || status=$?
editor_pid=
[ "$status" -eq 0 ] || { echo "FAIL: exit code $status"; exit 1; }
echo "PASS: typed text saved escaped with LF line ends; exit code 0"
