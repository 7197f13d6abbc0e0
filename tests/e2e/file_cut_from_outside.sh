#!/usr/bin/env bash
# The real program while a shell empties its critter.dat: the view and the run that follow say so
# in a message instead of ending the program, and a new population can be made.
# Usage: file_cut_from_outside.sh PATH_TO_EVOLUTION
set -euo pipefail
program=$(realpath "$1")
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"

create() {
  click 432 32  # Create Population
  answer_box
  [ "$(cat critter.dat)" = "$(head -c 1000 /dev/zero | tr '\0' 7)" ] || fail "no population"
}

# cut_then KEY_OR_CLICK...: empties the file, runs the command and answers its message.
cut_then() {
  truncate -s 0 critter.dat
  "$@"
  answer_box
  [ -z "$(ended "$PROGRAM_PID")" ] || fail "the program ended: $(cat "$E2E_DIR/program.log")"
  wait_until "the main window" visible_window "EVOLUTION SIMULATION"
}

start_desktop
start_program "$program"
step "view the summary of an emptied file"
create
cut_then click 88 336  # View Summary
[ -z "$(visible_window "Summary Page")" ] || fail "the summary opened over an emptied file"
step "run on an emptied file"
create
cut_then press alt+g
step "create again and exit"
create
press alt+x
wait_for_end
[ ! -e critter.dat ] || fail "critter.dat is still there after Exit"
echo "PASS"
