#!/usr/bin/env bash
# Takes docs/main-window.png: the real main window, with its frame, on a virtual desktop.
# Usage: docs/screenshot.sh PATH_TO_EVOLUTION (ImageMagick's import does the capture).
set -euo pipefail
program=$(realpath "$1")
out=$(realpath "$(dirname "$0")")/main-window.png
# shellcheck source=../tests/e2e/desktop.sh
source "$(dirname "$0")/../tests/e2e/desktop.sh"

start_desktop
start_program "$program"
activate "$MAIN_WINDOW"
sleep 1  # let the caret and the frame settle
import -frame -window "$MAIN_WINDOW" "$out"
echo "wrote $out"
