# Sourced by scripts/test.sh before the tests run: a private PulseAudio server with two null sinks,
# "main" and "phones" (their monitors record what is played into them), and a 1 kHz sine source,
# so that the sound-server tests play through real devices. Reuses a server left by an earlier run.
export PULSE_RUNTIME_PATH="${TMPDIR:-/tmp}/velvox-pulse-$(id -u)"
export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
if command -v pulseaudio >/dev/null 2>&1 && ! pactl info >/dev/null 2>&1; then
  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio -D -n --exit-idle-time=-1 --disallow-exit --log-target=stderr --log-level=error \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native" \
    --load="module-null-sink sink_name=main rate=44100 sink_properties=device.description=main" \
    --load="module-null-sink sink_name=phones rate=44100 sink_properties=device.description=phones" \
    --load="module-sine-source source_name=sine rate=44100 frequency=1000" 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do pactl info >/dev/null 2>&1 && break; sleep 0.3; done
  pactl info >/dev/null 2>&1 || echo "warning: the PulseAudio test server did not start; sound-server tests will be skipped" >&2
fi
