#!/usr/bin/env bash
# The real program under a file-size limit (ulimit -f): a population that the limit does not let
# the file hold is refused with a message, and the program goes on; one that fits is created.
# Usage: file_size_limit.sh PATH_TO_EVOLUTION
set -euo pipefail
program=$(realpath "$1")
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"

step "start the program with files limited to 4 kB"
start_desktop
start_program bash -c 'ulimit -f 4 && exec "$0"' "$program"

step "create a population of 1000 critters, 10 kB"
click 228 28  # into the population size
press ctrl+a
xdotool type 1000
click 432 32  # Create Population
answer_box    # why it could not be created
[ -z "$(ended "$PROGRAM_PID")" ] || fail "the program ended under the file-size limit"
[ "$(wc -c <critter.dat)" -le 4096 ] || fail "critter.dat grew past the limit"

step "create a population of 100 critters, 1 kB"
click 228 28
press ctrl+a
xdotool type 100
click 432 32
answer_box  # "Population successfully created!"
[ "$(head -c 1000 critter.dat)" = "$(head -c 1000 /dev/zero | tr '\0' 7)" ] ||
  fail "critter.dat does not start with 100 records of '7'"

step "exit"
press alt+x
wait_for_end
echo "PASS"
