#!/usr/bin/env bash
# The program started as the desktop's menu starts it: by the command of its menu entry, from a
# folder that stands for the home folder, with a data home and a runtime folder of its own.
# The data directory is made under $XDG_DATA_HOME and holds the data file, the starting folder
# gets nothing, and a box carries the program's name as its title. A second start while the
# first copy runs brings that copy's window forward and ends, ending its start-up feedback
# itself; a killed copy does not block the next start; a data directory that cannot be made is
# reported in a box with the program's icon.
# Usage: menu_start.sh "COMMAND OF THE MENU ENTRY"
set -euo pipefail
read -r -a command <<<"$1"
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"

start_desktop
export XDG_DATA_HOME="$E2E_DIR/data" XDG_RUNTIME_DIR="$E2E_DIR"
data="$XDG_DATA_HOME/evolution-simulation"

# start_again: one more start by the menu entry's command, which must pass itself on to the
# running copy and end with status 0, leaving one main window.
start_again() {
  DESKTOP_STARTUP_ID=another-start_TIME0 timeout "$E2E_TIMEOUT" "${command[@]}" \
    >"$E2E_DIR/again.log" 2>&1 || fail "another start ended with status $?"
  local windows
  windows=$(xdotool search --onlyvisible --name '^EVOLUTION SIMULATION$' | wc -l)
  [ "$windows" -eq 1 ] || fail "$windows main windows are showing"
}

step "start from the menu entry: ${command[*]}"
start_program "${command[@]}"
home=$PWD
[ -d "$data" ] || fail "the data directory $data was not created"

step "create the population"
press alt+c
press space
box=""
wait_for box "a message box" program_box
[ "$(xdotool getwindowname "$box")" = "Evolution Simulation" ] ||
  fail "the box is titled '$(xdotool getwindowname "$box")'"
answer_box
[ "$(wc -c <"$data/critter.dat")" -eq 1000 ] || fail "critter.dat is not in $data"
[ -z "$(ls -A "$home")" ] || fail "the starting folder got files: $(ls -A "$home")"

step "a second start while the first copy's window is minimised"
xdotool windowminimize --sync "$MAIN_WINDOW"
# Watches the root window for the start-up notification messages, once it sees a probe.
stdbuf -oL xev -root -event property >"$E2E_DIR/root-events.log" 2>&1 &
watcher=$!
wait_until "the root window's watcher" bash -c "xprop -root -f _E2E_PROBE 8s -set _E2E_PROBE 1
  grep -m 1 _E2E_PROBE '$E2E_DIR/root-events.log'"
start_again
wait_until "the second start to end its start-up feedback" \
  grep -m 1 _NET_STARTUP_INFO_BEGIN "$E2E_DIR/root-events.log"
stop "$watcher"
wait_until "the first copy's window to come forward" \
  bash -c "[ \"\$(xdotool getactivewindow)\" = $MAIN_WINDOW ] && echo active"

step "exit"
press alt+x
wait_for_end
[ ! -e "$data/critter.dat" ] || fail "critter.dat is still there after Exit"

step "a copy killed while it ran does not block the next start"
rm -rf "$E2E_DIR/work"
start_program "${command[@]}"
kill -KILL "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
wait_until "the killed copy's window to go" \
  bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^EVOLUTION SIMULATION$')\" ] && echo gone"
rm -rf "$E2E_DIR/work"
start_program "${command[@]}"
start_again
press alt+x
wait_for_end

step "a data directory that cannot be made"
rm -rf "$XDG_DATA_HOME" "$E2E_DIR/work"
touch "$XDG_DATA_HOME"
mkdir "$E2E_DIR/work"
cd "$E2E_DIR/work"
"${command[@]}" >"$E2E_DIR/program.log" 2>&1 &
PROGRAM_PID=$!
wait_for box "the start-up error box" visible_window "Evolution Simulation"
[[ "$(xprop -id "$box" _NET_WM_ICON)" == *"Icon (16 x 16)"* ]] ||
  fail "the start-up error box carries no 16 px icon"
activate "$box"
xdotool key --clearmodifiers Return
status=0
wait "$PROGRAM_PID" || status=$?
PROGRAM_PID=""
[ "$status" -eq 1 ] || fail "the program ended with status $status, not 1"
echo "PASS"
