#!/usr/bin/env bash
# Starts the built editor in a virtual display with a file on the command line, types into it
# like a person, saves with Ctrl+S and quits through the File menu; then checks the bytes on disk
# and the exit code. Skips (exit 77) when Xvfb or xdotool is missing.
# Usage: end_to_end_test.sh PATH_TO_PROPDESK
set -euo pipefail
editor=$1
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup-deps.sh installs it)"; exit 77; }
done

here=$(dirname "$0")
# A sanitizer build reports leaks at exit; the system libraries of a real display keep some.
export LSAN_OPTIONS="suppressions=$here/system_leaks.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
source "$here/../../scripts/virtual_display.sh"
start_virtual_display 800x600 || { echo "FAIL: no virtual display"; exit 1; }

# LF line ends: the file's style, which the save keeps.
file="$work/messages.properties"
printf 'greeting=\\u3053\\u3093\\u306b\\u3061\\u306f\nname=value\n' >"$file"

"$editor" "$file" &
editor_pid=$!
window=$(timeout 20 xdotool search --sync --name 'messages\.properties' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window titled with the file"; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.5

# Opened files start edit-forbidden; Ctrl+R allows editing. The caret stands at the start.
xdotool key --delay 50 ctrl+r
xdotool type --delay 150 'new=あい'
xdotool key --delay 50 Return ctrl+s

printf 'new=\\u3042\\u3044\ngreeting=\\u3053\\u3093\\u306b\\u3061\\u306f\nname=value\n' >"$work/expected"
for _ in $(seq 100); do
  cmp -s "$file" "$work/expected" && break
  sleep 0.1
done
if ! cmp -s "$file" "$work/expected"; then
  echo "FAIL: saved bytes differ"
  echo "expected:"; od -c "$work/expected" | head -20
  echo "actual:"; od -c "$file" | head -20
  exit 1
fi

# File menu, Exit: the document is saved, so the editor quits without asking, with code 0.
xdotool key --delay 100 alt+f x
status=0
timeout 10 tail --pid="$editor_pid" -f /dev/null || { echo "FAIL: the editor did not quit"; exit 1; }
wait "$editor_pid" || status=$?
editor_pid=
[ "$status" -eq 0 ] || { echo "FAIL: exit code $status"; exit 1; }
echo "PASS: typed text saved escaped with LF line ends; exit code 0"
