# Sourced by scripts/test.sh before the tests run: a JACK server with the dummy back end, so that
# the MIDI port tests open real JACK MIDI ports. Installs jackd2 when it is missing (a test-only
# package). A server this hook starts is stopped when the test command ends (through test.sh's
# `at_exit`); a server already answering is left running.
if ! command -v jackd >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends jackd2 >/dev/null 2>&1 || true
fi

velvox_stop_jack() {
  local pid=$1
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
}

velvox_jack_running() { jack_lsp >/dev/null 2>&1; }

if command -v jackd >/dev/null 2>&1 && ! velvox_jack_running; then
  export JACK_NO_AUDIO_RESERVATION=1
  jackd --no-realtime -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
  velvox_jack_pid=$!
  for _ in $(seq 1 30); do velvox_jack_running && break; sleep 0.2; done
  if velvox_jack_running; then
    at_exit "velvox_stop_jack $velvox_jack_pid"
  else
    velvox_stop_jack "$velvox_jack_pid"
    echo "warning: the JACK test server did not start; the JACK MIDI test will be skipped" >&2
  fi
fi
