#!/usr/bin/env bash
# The program started as the desktop's menu starts it: by the command of its menu entry, found on
# the PATH, from a folder that stands for the home folder. The data file lives in the program's
# data directory under $XDG_DATA_HOME, never in the starting folder, and a box carries the
# program's name as its title.
# Usage: menu_start.sh DIRECTORY_OF_THE_PROGRAM "COMMAND OF THE MENU ENTRY"
set -euo pipefail
export PATH="$(realpath "$1"):$PATH"
read -r -a command <<<"$2"
# shellcheck source=desktop.sh
source "$(dirname "$0")/desktop.sh"
[ -n "${XDG_DATA_HOME:-}" ] || fail "XDG_DATA_HOME must name a scratch folder"
data="$XDG_DATA_HOME/evolution-simulation"
rm -rf "$data"

step "start from the menu entry: ${command[*]}"
start_desktop
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

step "exit"
press alt+x
wait_for_end
[ ! -e "$data/critter.dat" ] || fail "critter.dat is still there after Exit"
echo "PASS"
