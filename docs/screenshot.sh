#!/usr/bin/env bash
# Takes docs/main-window.png, docs/summary-window.png and docs/repeated-runs.png: the real main
# window, the summary after the design-time run of 50 generations, and Repeated Runs after 1000
# runs of 1000 critters for each of three good mutation probabilities (about two minutes), with
# their frames, on a virtual desktop.
# Usage: docs/screenshot.sh [PATH_TO_EVOLUTION_SIMULATION]
# Without a path it builds the program as scripts/start does. It installs what it uses
# (Xvfb, openbox, xdotool, ImageMagick's import) when missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/ensure-packages" screenshot
if [ $# -ge 1 ]; then
  program=$(realpath "$1")
else
  cmake -S "$root" -B "$root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DEVOLUTION_TESTS=OFF -DEVOLUTION_BENCHMARKS=OFF >/dev/null
  cmake --build "$root/build-release" --target evolution-simulation
  program="$root/build-release/bin/evolution-simulation"
fi
docs="$root/docs"
# shellcheck source=../tests/e2e/desktop.sh
source "$root/tests/e2e/desktop.sh"

start_desktop
start_program "$program"
activate "$MAIN_WINDOW"
sleep 1  # let the caret and the frame settle
import -frame -window "$MAIN_WINDOW" "$docs/main-window.png"
echo "wrote $docs/main-window.png"

press alt+g
answer_box  # "Population successfully created!"
answer_box  # "generations were run"
wait_for summary "the summary window" visible_window "Summary Page"
activate "$summary"
sleep 1
import -frame -window "$summary" "$docs/summary-window.png"
echo "wrote $docs/summary-window.png"

activate "$summary"
xdotool key --clearmodifiers space
wait_until "the main window to come back" visible_window "EVOLUTION SIMULATION"
click 228 28  # into the population size
press ctrl+a
xdotool type 1000
press ctrl+r
wait_for runs "the Repeated Runs window" visible_window "Repeated Runs"
activate "$runs"
xdotool key --clearmodifiers alt+r ctrl+a
xdotool type 1000
xdotool key --clearmodifiers alt+e ctrl+a
xdotool type 2026
xdotool key --clearmodifiers alt+o Down
xdotool key --clearmodifiers alt+v
xdotool type ".05, .1, .2"
xdotool key --clearmodifiers alt+s
# The runs have ended when a copy of their data holds all 3000 rows; the note of the copy goes
# after five seconds.
rows() {
  activate "$runs"
  xdotool key --clearmodifiers ctrl+c
  sleep 1
  xclip -o -selection clipboard | wc -l
}
deadline=$((SECONDS + 600))
until [ "$(rows)" -ge 3001 ]; do
  ((SECONDS < deadline)) || fail "the runs did not end within ten minutes"
  sleep 4
done
sleep 6
import -frame -window "$runs" "$docs/repeated-runs.png"
echo "wrote $docs/repeated-runs.png"
