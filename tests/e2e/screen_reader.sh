# shellcheck shell=bash
# Functions for end-to-end tests that listen to the real program through Orca, the screen reader
# Debian ships: a session bus with the accessibility bus, a sound server whose only output is a
# silent sink (so that speech takes its real time), speech-dispatcher with espeak-ng, and Orca
# with a fresh profile and its debug log, which records each utterance as "SPEECH OUTPUT: '...'".
#
# Source desktop.sh, then this file; call start_desktop, then start_screen_reader before
# start_program. mark remembers where the log stands; heard_since_mark prints what Orca has said
# since, an utterance a line; wait_to_hear waits until it has said something that matches.

ORCA_LOG=""
ORCA_PID=""
PULSE_PID=""
ORCA_TIMEOUT=${ORCA_TIMEOUT:-60}  # seconds for Orca to start and for any one utterance
MARK=0

stop_screen_reader() {
  local pid
  for pid in "$ORCA_PID" "$PULSE_PID"; do
    if [ -n "$pid" ]; then stop "$pid"; fi
  done
  if [ -n "${DBUS_SESSION_BUS_PID:-}" ]; then kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true; fi
}

start_screen_reader() {
  trap 'stop_screen_reader; stop_everything' EXIT
  export HOME="$E2E_DIR/home" XDG_RUNTIME_DIR="$E2E_DIR/runtime"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher" "$E2E_DIR/speechd"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<EOF
LogDir "$E2E_DIR/speechd"
AudioOutputMethod "pulse"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "en"
EOF
  cat >"$E2E_DIR/null.pa" <<EOF
load-module module-native-protocol-unix
load-module module-null-sink sink_name=silence
set-default-sink silence
EOF
  eval "$(dbus-launch --sh-syntax)"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_DIR/at-spi.log" 2>&1 &
  pulseaudio -n -F "$E2E_DIR/null.pa" --exit-idle-time=-1 --daemonize=no \
    >"$E2E_DIR/pulseaudio.log" 2>&1 &
  PULSE_PID=$!
  ORCA_LOG="$E2E_DIR/orca-debug.txt"
  # Orca writes its log in blocks, so that its last words could wait in its buffer for more: it is
  # started with the log written a line at a time.
  /usr/bin/python3 -c '
import builtins, runpy, sys
log, opened = sys.argv[1], builtins.open
def line_by_line(file, mode="r", *args, **kwargs):
    if file == log and "w" in mode:
        kwargs["buffering"] = 1
    return opened(file, mode, *args, **kwargs)
builtins.open = line_by_line
sys.argv = ["orca", "--replace", "-u", sys.argv[2], "--debug-file", log]
runpy.run_path("/usr/bin/orca", run_name="__main__")
' "$ORCA_LOG" "$HOME/orca" >"$E2E_DIR/orca.log" 2>&1 &
  ORCA_PID=$!
  local timeout=$E2E_TIMEOUT
  E2E_TIMEOUT=$ORCA_TIMEOUT
  wait_until "Orca to speak (is it installed and can it start?)" grep -m1 -l "SPEECH OUTPUT" "$ORCA_LOG"
  E2E_TIMEOUT=$timeout
}

# What Orca has said: one utterance a line, without the voice that follows it in the log.
utterances() {
  grep -a "SPEECH OUTPUT: '" "$ORCA_LOG" | sed -E "s/^.*SPEECH OUTPUT: '(.*)' ?(\{.*\})?\s*$/\1/"
}

mark() { MARK=$(utterances | wc -l); }

heard_since_mark() { utterances | tail -n "+$((MARK + 1))"; }

# wait_to_hear PATTERN: waits until Orca has said, since the mark, an utterance that matches the
# extended regular expression, and prints that utterance.
wait_to_hear() {
  local found deadline=$((SECONDS + ORCA_TIMEOUT))
  until found=$(heard_matching "$1"); do
    ((SECONDS < deadline)) || fail "Orca did not say /$1/; it said: $(heard_since_mark | tr '\n' '|')"
    sleep 0.2
  done
  echo "$found"
}

heard_matching() { heard_since_mark | grep -E -m1 -- "$1"; }

# The errors Orca logged in handling the program's events.
orca_errors() { grep -a -E "bad content sent to speak|ERROR: Could not process" "$ORCA_LOG" || true; }
