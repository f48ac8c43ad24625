# Sourced by scripts that drive the editor in a virtual X display. After start_virtual_display
# SIZE (such as 800x600), DISPLAY names a fresh Xvfb display, $work is a scratch folder, the
# editor's settings live there, and on exit the editor ($editor_pid, when set), the display and
# the folder go away.

work=$(mktemp -d)

stop_virtual_display() {
  [ -n "${editor_pid:-}" ] && kill "$editor_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap stop_virtual_display EXIT

start_virtual_display() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$work/display")"
  export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
}
