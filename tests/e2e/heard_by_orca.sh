#!/usr/bin/env bash
# What a blind student hears of the real program through Orca: a field with its whole text, the
# counter during a run and nothing queued after it, the summary's average once with its caption,
# a copy, a page turn, the end of a batch of repeated runs; and no error in Orca's handling of the
# program's events.
# Usage: heard_by_orca.sh PATH_TO_EVOLUTION
set -euo pipefail
program=$(realpath "$1")
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"
# shellcheck source=screen_reader.sh
source "$(dirname "$0")/screen_reader.sh"

# key_in TITLE KEY...: presses keys in the program's window of that title.
key_in() {
  local window
  wait_for window "the window \"$1\"" visible_window "$1"
  activate "$window"
  shift
  xdotool key --clearmodifiers "$@"
}

step "start Orca, then the program"
start_desktop
start_screen_reader
mark
start_program "$program"

step "a field is heard with its whole text, on focus and selected"
wait_to_hear "^Population size text\.$" >/dev/null
wait_to_hear "^100\.$" >/dev/null
mark
press Tab
wait_to_hear "^\.1 selected\.$" >/dev/null

step "the counter is heard during an indefinite run, and nothing of it after the halt"
press Tab
press ctrl+a
xdotool type 0  # no mutations: only the halt ends the run
# Qt holds each typed key until Orca has seen it, but a shortcut such as Alt+I acts at once and
# can overtake them. Moving on with Tab, which waits its turn, and hearing where it lands shows
# that the 0 has reached the field.
mark
press Tab
wait_to_hear "^Number of Generations +to run text\.$" >/dev/null
mark
press alt+i
answer_box  # "Population successfully created!"
wait_to_hear "^Halt Run push button\.$" >/dev/null
wait_to_hear "^notification Generations this run [0-9]+\.$" >/dev/null
mark
wait_to_hear "^notification Generations this run [0-9]+\.$" >/dev/null
mark
press space
wait_to_hear "^loop executed  [0-9]+ times\.$" >/dev/null
before_box=$(heard_since_mark | sed '/^loop executed/,$d')
if grep -q "Generations this run" <<<"$before_box"; then
  fail "the counter was heard between the halt and its result: $(tr '\n' '|' <<<"$before_box")"
fi

step "the summary's average is heard once, with its caption"
mark
answer_box  # "loop executed ... times"
wait_to_hear "^Average Gene is [0-9.]+\. Zeroes [0-9]+, Ones" >/dev/null
mark
key_in "Summary Page" Tab
average=$(wait_to_hear "Average Gene is")
[[ $average =~ ^Average\ Gene\ is\ [0-9.]+\ label\.$ ]] || fail "the average was heard as: $average"

step "a copy is heard"
mark
key_in "Summary Page" ctrl+c
wait_to_hear "^notification Copied the data of [0-9]+ rows? as CSV\.$" >/dev/null

step "a page turn of the gene display is heard"
key_in "Summary Page" Escape
mark
press alt+s
heard=$(wait_to_hear "^View (Summary|Actual Strings) push button\.$")
if [ "$heard" = "View Summary push button." ]; then
  mark
  press alt+s  # the access key S is shared: the second press reaches the other button
  wait_to_hear "^View Actual Strings push button\.$" >/dev/null
fi
press space
key_in "Display of Genes" Tab Tab
mark
key_in "Display of Genes" space
wait_to_hear "^notification range 21 to 41, first genome [0-9]{10}\.$" >/dev/null

step "the end of a batch of repeated runs is heard in a sentence or two"
key_in "Display of Genes" Escape
click 228 124  # back to mutations per cycle, for runs that end
press ctrl+a
xdotool type 10
mark
press ctrl+r
wait_to_hear "^Runs text\.$" >/dev/null
key_in "Repeated Runs" ctrl+a
xdotool type 20
mark
key_in "Repeated Runs" alt+s
wait_to_hear "^notification 20 runs in [0-9.]+ s\. Median generations to the end: [0-9.]+\.$" \
  >/dev/null

step "Orca met no error in the program's events"
errors=$(orca_errors)
[ -z "$errors" ] || fail "Orca logged errors: $errors"

step "exit"
press alt+x
wait_for_end
echo "PASS"
