# Sourced by scripts that drive the editor in a virtual X display. After start_virtual_display
# SIZE (such as 800x600), DISPLAY names a fresh Xvfb display, $work is a scratch folder, the
# editor's settings live there, and on exit the editor ($editor_pid, when set), the display and
# the folder go away. find_window waits for a window by its caption.

work=$(mktemp -d)

# An editor that has already ended must not stop the cleanup (errexit holds in the trap too).
stop_virtual_display() {
  [ -z "${editor_pid:-}" ] || kill "$editor_pid" 2>/dev/null || true
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap stop_virtual_display EXIT

start_virtual_display() {
  # -noreset: the keys bound by bind_keys stay while no client is connected.
  Xvfb -displayfd 3 -noreset -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  wait_until 5 "Xvfb did not start" test -s "$work/display" || return 1
  export DISPLAY=":$(cat "$work/display")"
  export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
}

# wait_until SECONDS MESSAGE COMMAND...: runs COMMAND every tenth of a second until it succeeds;
# after SECONDS without success prints MESSAGE and fails.
wait_until() {
  local seconds=$1 message=$2
  shift 2
  for _ in $(seq $((seconds * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  echo "$message" >&2
  return 1
}

# find_window CAPTION: the id of the visible window captioned exactly CAPTION, once there is one
# (within 30 s). xdotool's name patterns do not match Japanese text, so each caption is compared.
find_window() {
  for _ in $(seq 150); do
    for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && { echo "$window"; return 0; }
    done
    sleep 0.2
  done
  echo "no window captioned $1" >&2
  return 1
}

# bind_keys TEXT: gives every character of TEXT a key of its own. Without one, xdotool binds a
# spare key for each character and unbinds it right after the key press, and a busy editor that
# reads the keymap only after the unbinding loses the character. Call it before the editor starts.
bind_keys() {
  python3 - "$1" <<'PYTHON'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("bind_keys: no display")
low, high, width = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
x11.XDisplayKeycodes(display, low, high)
count = high.value - low.value + 1
table = x11.XGetKeyboardMapping(display, low.value, count, width)
unbound = [low.value + key for key in reversed(range(count))
           if not any(table[key * width.value + column] for column in range(width.value))]
characters = sorted(set(sys.argv[1]))
if len(unbound) < len(characters):
    sys.exit("bind_keys: not enough unbound keys")
for key, character in zip(unbound, characters):
    keysym = ctypes.c_ulong(0x1000000 + ord(character))  # the keysym of a Unicode character
    x11.XChangeKeyboardMapping(display, key, 1, ctypes.byref(keysym), 1)
x11.XCloseDisplay(display)
PYTHON
}
