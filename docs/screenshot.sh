#!/usr/bin/env bash
# Takes docs/main-window.png and docs/summary-window.png: the real main window, and the summary
# after the design-time run of 50 generations, with their frames, on a virtual desktop.
# Usage: docs/screenshot.sh PATH_TO_EVOLUTION (ImageMagick's import does the capture).
set -euo pipefail
program=$(realpath "$1")
docs=$(realpath "$(dirname "$0")")
# shellcheck source=../tests/e2e/desktop.sh
source "$(dirname "$0")/../tests/e2e/desktop.sh"

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
