#!/usr/bin/env bash
# The real program on a desktop: create a population from the keyboard, then exit.
# Usage: create_and_exit.sh PATH_TO_EVOLUTION
set -euo pipefail
program=$(realpath "$1")
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"

step "start the program"
start_desktop
start_program "$program"
[ ! -e critter.dat ] || fail "a data file exists before any command"

step "create the population"
# "&Create Population" and "Reset &Counter" share the access key C: Alt+C moves the focus to
# the first of them without clicking, and Space presses the button that has the focus.
press alt+c
press space
answer_box
[ "$(cat critter.dat)" = "$(head -c 1000 /dev/zero | tr '\0' 7)" ] ||
  fail "critter.dat does not hold 1000 bytes of '7': $(wc -c <critter.dat) bytes"

step "exit"
press alt+x
wait_for_end
[ ! -e critter.dat ] || fail "critter.dat is still there after Exit"
echo "PASS"
