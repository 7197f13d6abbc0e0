#!/usr/bin/env bash
# The real program on a desktop: run generations from the keyboard without a population, look at
# the summary, then run indefinitely and halt.
# Usage: run_generations.sh PATH_TO_EVOLUTION
set -euo pipefail
program=$(realpath "$1")
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"

# all_digits FILE COUNT: prints "yes" when the first COUNT bytes of FILE are all digits.
all_digits() {
  [ "$(head -c "$2" "$1" | tr -d '0-9' | wc -c)" -eq 0 ] &&
    [ "$(head -c "$2" "$1" | wc -c)" -eq "$2" ] && echo yes
}

# close_summary: waits for the summary window, presses its Done button (it has the focus) and
# waits for the main window to come back.
close_summary() {
  local summary
  wait_for summary "the summary window" visible_window "Summary Page"
  [ -z "$(visible_window "EVOLUTION SIMULATION")" ] || fail "the main window shows beside the summary"
  activate "$summary"
  xdotool key --clearmodifiers space
  wait_until "the main window to come back" visible_window "EVOLUTION SIMULATION"
}

step "start the program"
start_desktop
start_program "$program"

step "run the design-time 50 generations without a population"
press alt+g
answer_box  # "Population successfully created!"
answer_box  # "generations were run"
close_summary
[ -n "$(all_digits critter.dat 1000)" ] || fail "critter.dat does not start with 100 records of digits"

step "run indefinitely, then halt"
# A mutation pass can make a perfect genome, which ends the run with a message of its own before
# the halt: selection breeds one within a few hundred generations, less than a second. Without
# mutations only the halt ends the run.
click 228 124  # into the mutations per cycle
press ctrl+a
xdotool type 0
press alt+i
# The halt button takes the focus when the run starts, so Space presses it.
sleep 0.5
press space
answer_box  # "loop executed ... times"
close_summary
[ -n "$(all_digits critter.dat 1000)" ] || fail "critter.dat lost its digits in the indefinite run"

step "halt a run of a million critters within a generation"
click 228 28  # into the population size
press ctrl+a
xdotool type 1000000
click 432 32  # Create Population
answer_box    # "Population successfully created!"
press alt+i
sleep 1
started=$SECONDS
press space
answer_box  # "loop executed ... times"
((SECONDS - started <= 10)) || fail "the halt took $((SECONDS - started)) s"
close_summary
[ "$(wc -c <critter.dat)" -ge 10000000 ] || fail "critter.dat does not hold a million critters"

step "exit"
press alt+x
wait_for_end
[ ! -e critter.dat ] || fail "critter.dat is still there after Exit"
echo "PASS"
