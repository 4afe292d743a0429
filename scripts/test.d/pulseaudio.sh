# Sourced by scripts/test.sh before the tests run: a private PulseAudio server with two null sinks,
# "main" and "phones" (their monitors record what is played into them), and a 1 kHz sine source,
# so that the sound-server tests play through real devices. A server this hook starts is stopped
# when the test command ends (through test.sh's `at_exit`); a server already answering on the
# private path was started by someone else and is left running.
export PULSE_RUNTIME_PATH="${TMPDIR:-/tmp}/velvox-pulse-$(id -u)"
export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"

velvox_stop_pulse() {
  local pid=$1
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
}

if command -v pulseaudio >/dev/null 2>&1 && ! pactl info >/dev/null 2>&1; then
  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio -D -n --exit-idle-time=-1 --disallow-exit --log-target=stderr --log-level=error \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native" \
    --load="module-null-sink sink_name=main rate=44100 sink_properties=device.description=main" \
    --load="module-null-sink sink_name=phones rate=44100 sink_properties=device.description=phones" \
    --load="module-sine-source source_name=sine rate=44100 frequency=1000" 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do pactl info >/dev/null 2>&1 && break; sleep 0.3; done
  if pactl info >/dev/null 2>&1; then
    # The daemon writes its process id beside its socket.
    velvox_pulse_pid=$(cat "$PULSE_RUNTIME_PATH/pid" 2>/dev/null || true)
    [ -n "$velvox_pulse_pid" ] && at_exit "velvox_stop_pulse $velvox_pulse_pid"
  else
    echo "warning: the PulseAudio test server did not start; sound-server tests will be skipped" >&2
  fi
fi
