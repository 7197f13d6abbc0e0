#!/usr/bin/env bash
# Times a batch of Repeated Runs in the real window on a virtual desktop, as a user starts it: 1000
# critters in the main window, then RUNS runs seeded with SEED, for each of the good mutation
# probabilities VALUES when given (".05, .1"), else at the main window's own. Prints the seconds
# from Start to the last run by this script's clock (it looks every half second), and writes the
# window's copy of the runs' data to OUT.csv and a picture of the window, whose caption gives the
# program's own time, to OUT.png.
# Usage: bench/repeated-runs-in-the-window.sh PROGRAM RUNS SEED OUT [VALUES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 4 ] || {
  echo "usage: $0 PROGRAM RUNS SEED OUT [VALUES]" >&2
  exit 2
}
program=$(realpath "$1")
runs=$2 seed=$3 out=$(realpath -m "$4") values=${5:-}
"$root/scripts/ensure-packages" screenshot
# shellcheck source=../tests/e2e/desktop.sh
source "$root/tests/e2e/desktop.sh"

start_desktop
start_program "$program"
click 228 28  # into the population size
press ctrl+a
xdotool type 1000
press ctrl+r
wait_for window "the Repeated Runs window" visible_window "Repeated Runs"
activate "$window"
xdotool key --clearmodifiers alt+r ctrl+a
xdotool type "$runs"
xdotool key --clearmodifiers alt+e ctrl+a
xdotool type "$seed"
if [ -n "$values" ]; then
  xdotool key --clearmodifiers alt+o Down alt+v
  xdotool type "$values"
fi
# RUNS runs for every value compared.
total=$((runs * $(tr ',; ' '\n\n\n' <<<"${values:-one}" | grep -c .)))
# The runs' data, as the window copies it: a heading and a row for every run finished.
copied_rows() {
  xdotool key --clearmodifiers ctrl+c
  xclip -o -selection clipboard 2>/dev/null | wc -l
}
started=$(date +%s.%N)
xdotool key --clearmodifiers alt+s
deadline=$((SECONDS + 900))
until [ "$(copied_rows)" -gt "$total" ]; do
  ((SECONDS < deadline)) || fail "the runs did not end within fifteen minutes"
  sleep 0.5
done
ended=$(date +%s.%N)
xclip -o -selection clipboard >"$out.csv"
sleep 1
import -frame -window "$window" "$out.png"
echo "$total runs in $(echo "$ended - $started" | bc) s; data in $out.csv, window in $out.png"
