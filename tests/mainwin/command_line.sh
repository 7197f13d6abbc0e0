#!/usr/bin/env bash
# The program's command line, without a display: --help, -h and --version answer on standard
# output with status 0; an unknown option gives the usage on standard error and status 2, also
# after Qt's own options, which Qt takes with their values; a start that finds no display ends
# with a line that says so and the usage on standard error and status 1, never in an abort.
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

for help in --help -h; do
  run "$help"
  [ "$status" -eq 0 ] || fail "$help ended with status $status"
  grep -q '^Usage: evolution-simulation ' "$out/stdout" || fail "$help printed no usage"
  grep -q -- '--in-data-directory' "$out/stdout" || fail "$help does not name --in-data-directory"
  [ ! -s "$out/stderr" ] || fail "$help wrote to standard error: $(cat "$out/stderr")"
done

run -style fusion --version
[ "$status" -eq 0 ] || fail "--version ended with status $status"
[ "$(head -n 1 "$out/stdout")" = "evolution-simulation 1.0" ] || fail "--version: $(cat "$out/stdout")"

run -platform offscreen --style=fusion --no-such-option
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"
[ ! -s "$out/stdout" ] || fail "an unknown option wrote to standard output"
grep -q "unknown option '--no-such-option'" "$out/stderr" || fail "stderr: $(cat "$out/stderr")"
grep -q '^Usage: evolution-simulation ' "$out/stderr" || fail "no usage on standard error"

run --bogus
[ "$status" -eq 2 ] || fail "an unknown option without a display ended with status $status"

# -platform takes the next argument as its value, even one that looks like an option.
for start in "" "-platform --help"; do
  # shellcheck disable=SC2086 # the start's words are separate arguments
  run $start
  [ "$status" -eq 1 ] || fail "a start without a display ($start) ended with status $status"
  [ ! -s "$out/stdout" ] || fail "a start without a display ($start) wrote to standard output"
  head -n 1 "$out/stderr" | grep -q '^evolution-simulation: cannot show a window: ' ||
    fail "no reason first on standard error: $(cat "$out/stderr")"
  [ "$(grep -c . "$out/stderr")" -eq 4 ] || fail "more than the reason and the usage: $(cat "$out/stderr")"
done
echo PASS
