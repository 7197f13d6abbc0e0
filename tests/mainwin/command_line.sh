#!/usr/bin/env bash
# The program's command line, without a display: --help and --version answer on standard output
# with status 0; an unknown option gives the usage on standard error and status 2, also after
# Qt's own options, which Qt takes with their values.
# Usage: command_line.sh PATH_TO_EVOLUTION
set -euo pipefail
program=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# run ARGUMENT...: runs the program, keeping its status and both outputs.
run() {
  status=0
  "$program" "$@" >"$out/stdout" 2>"$out/stderr" || status=$?
}

run --help
[ "$status" -eq 0 ] || fail "--help ended with status $status"
grep -q '^Usage: evolution-simulation ' "$out/stdout" || fail "--help printed no usage"
grep -q -- '--in-data-directory' "$out/stdout" || fail "--help does not name --in-data-directory"
[ ! -s "$out/stderr" ] || fail "--help wrote to standard error: $(cat "$out/stderr")"

run -style fusion --version
[ "$status" -eq 0 ] || fail "--version ended with status $status"
[ "$(head -n 1 "$out/stdout")" = "evolution-simulation 1.0" ] || fail "--version: $(cat "$out/stdout")"

run -platform offscreen --style=fusion --no-such-option
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"
[ ! -s "$out/stdout" ] || fail "an unknown option wrote to standard output"
grep -q "unknown option '--no-such-option'" "$out/stderr" || fail "stderr: $(cat "$out/stderr")"
grep -q '^Usage: evolution-simulation ' "$out/stderr" || fail "no usage on standard error"
echo PASS
