# shellcheck shell=bash
# Functions for end-to-end tests of the real program on a virtual desktop: Xvfb on a display it
# picks itself, the openbox window manager (without one, activation and focus do not behave as on
# a desktop), the program in a fresh directory, and the keyboard through xdotool.
#
# Source this file, call start_desktop and start_program, then drive the program with press,
# answer_box and wait_for_end. Every wait is bounded; whatever was started is stopped, and the
# directory removed, when the script exits for any reason.

E2E_TIMEOUT=${E2E_TIMEOUT:-20}  # seconds that any one wait may take
E2E_DIR=""
XVFB_PID=""
WM_PID=""
PROGRAM_PID=""
MAIN_WINDOW=""

step() { echo "--- $*"; }

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then
    echo "== windows on the screen" >&2
    xwininfo -root -tree 2>&1 | grep -E '^ +0x[0-9a-f]+ "' >&2 || true
  fi
  if [ -n "$PROGRAM_PID" ] && [ -z "$(ended "$PROGRAM_PID")" ]; then
    echo "== the program is still running" >&2
  fi
  if [ -n "$E2E_DIR" ]; then
    for log in "$E2E_DIR"/*.log; do
      [ -s "$log" ] && { echo "== $(basename "$log")"; cat "$log"; } >&2
    done
  fi
  exit 1
}

# stop PID: asks a process started here to end, then forces it after a few seconds.
stop() {
  kill "$1" 2>/dev/null || return 0
  local tries=0
  while [ -z "$(ended "$1")" ] && ((tries++ < 50)); do sleep 0.1; done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# ended PID: prints "ended" once the process is gone or a zombie waiting to be reaped.
ended() {
  if [ ! -e "/proc/$1" ] || grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null; then
    echo ended
  fi
}

stop_everything() {
  local pid
  for pid in "$PROGRAM_PID" "$WM_PID" "$XVFB_PID"; do
    if [ -n "$pid" ]; then stop "$pid"; fi
  done
  cd /
  if [ -n "$E2E_DIR" ]; then rm -rf "$E2E_DIR"; fi
}
trap stop_everything EXIT
trap 'exit 1' INT TERM

# wait_for VARIABLE DESCRIPTION COMMAND...: runs the command until it prints something, and
# sets the variable to that. (It sets a variable rather than printing, so that a failure ends
# the script itself and not only a command substitution.)
wait_for() {
  local variable=$1 what=$2 output="" deadline=$((SECONDS + E2E_TIMEOUT))
  shift 2
  until output=$("$@" 2>/dev/null) && [ -n "$output" ]; do
    ((SECONDS < deadline)) || fail "timed out waiting for $what"
    sleep 0.1
  done
  printf -v "$variable" '%s' "$output"
}

# wait_until DESCRIPTION COMMAND...: runs the command until it prints something.
wait_until() {
  local _
  wait_for _ "$@"
}

start_desktop() {
  E2E_DIR=$(mktemp -d)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_DIR/display" \
    >"$E2E_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local display
  wait_for display "Xvfb to choose a display" cat "$E2E_DIR/display"
  export DISPLAY=:$display
  # openbox claims the screen before it is ready to manage windows; its startup command runs
  # once it is.
  openbox --sm-disable --startup "touch $E2E_DIR/wm-ready" >"$E2E_DIR/openbox.log" 2>&1 &
  WM_PID=$!
  wait_until "openbox to be ready" ls "$E2E_DIR/wm-ready"
}

# start_program PROGRAM [ARGUMENT...]: starts it in a fresh directory, which becomes the current
# one, and waits for its main window.
start_program() {
  mkdir "$E2E_DIR/work"
  cd "$E2E_DIR/work" || fail "no working directory"
  "$@" >"$E2E_DIR/program.log" 2>&1 &
  PROGRAM_PID=$!
  wait_for MAIN_WINDOW "the main window" visible_window "EVOLUTION SIMULATION"
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" | head -n 1; }

# A visible window of the program other than the main window: a message or input box.
program_box() {
  xdotool search --onlyvisible --pid "$PROGRAM_PID" | grep -vx "$MAIN_WINDOW" | head -n 1
}

# activate WINDOW: gives it the keyboard, as a click on it would. A window that is active already
# is left alone: while a run keeps the program busy, asking again can take many seconds.
activate() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0
  timeout "$E2E_TIMEOUT" xdotool windowactivate --sync "$1" >/dev/null ||
    fail "window $1 could not be activated"
}

# press KEY...: types xdotool key names (alt+c, space, Return) into the main window.
press() {
  activate "$MAIN_WINDOW"
  xdotool key --clearmodifiers "$@"
}

# click X Y: clicks the main window at a point of its client area, in pixels.
click() {
  activate "$MAIN_WINDOW"
  xdotool mousemove --window "$MAIN_WINDOW" "$1" "$2" click 1
}

# answer_box: waits for the program's message box, presses Return in it and waits until it goes.
answer_box() {
  local box
  wait_for box "a message box" program_box
  activate "$box"
  xdotool key --clearmodifiers Return
  wait_until "the message box to close" box_gone "$box"
}

box_gone() { xdotool search --onlyvisible --pid "$PROGRAM_PID" | grep -qx "$1" || echo gone; }

# wait_for_end: waits until the program has ended and fails unless its exit status was 0.
wait_for_end() {
  local status=0
  wait_until "the program to end" ended "$PROGRAM_PID"
  wait "$PROGRAM_PID" || status=$?
  PROGRAM_PID=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
