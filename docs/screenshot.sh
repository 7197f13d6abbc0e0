#!/usr/bin/env bash
# Takes docs/main-window.png and docs/summary-window.png: the real main window, and the summary
# after the design-time run of 50 generations, with their frames, on a virtual desktop.
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
