# Sourced by the window benchmarks: a private PulseAudio server with the null sinks "phones"
# (first, so that it is the monitor's first output device), "main" (the default output) and
# "base" (for a baseline that plays at the same time as the program), a
# virtual display, songs, and the program driven through a pipe. Everything started here ends
# when the sourcing script exits.
#   needs: $build, $display, $song_seconds; gives: $work, start_program, send, ask, play,
#   record, gaps_in, measure, cpu_ticks, rss_kb, started (process ids to end)
for tool in Xvfb pulseaudio pactl parec ffmpeg ffplay; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing" >&2; exit 2; }
done
[ -x "$build/velvox" ] && [ -x "$build/bench/window/bench_gaps" ] || { echo "$0: build first ($build)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/velvox-bench.XXXXXX")
started=()
end_session() {
  exec 7>&- 2>/dev/null || true
  local p
  for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${started[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap end_session EXIT

export PULSE_RUNTIME_PATH=$work/pulse PULSE_SERVER=unix:$work/pulse/native
mkdir -p "$PULSE_RUNTIME_PATH"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr --log-level=error \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native" \
  --load="module-null-sink sink_name=phones rate=44100 sink_properties=device.description=phones" \
  --load="module-null-sink sink_name=main rate=44100 sink_properties=device.description=main" \
  --load="module-null-sink sink_name=base rate=44100 sink_properties=device.description=base" 2>/dev/null &
started+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink main

# Music-like material that is never silent by itself: pink noise under a tone.
song() {
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "anoisesrc=d=$song_seconds:c=pink:r=44100:a=0.25" \
    -f lavfi -i "sine=f=$2:r=44100:d=$song_seconds" -filter_complex amix=inputs=2,aformat=channel_layouts=stereo \
    -b:a 192k "$1"
}
song "$work/deck-a.mp3" 440
song "$work/deck-b.mp3" 554

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
started+=($!)
sleep 1
kill -0 "${started[-1]}" 2>/dev/null || { echo "$0: Xvfb could not take the display $display (BENCH_DISPLAY)" >&2; exit 2; }

# The program in a fresh home folder, reading commands from a pipe; what it prints goes to a file.
start_program() {
  mkfifo "$work/script"
  mkdir -p "$work/home"
  # A settings file as a set-up left it: a fresh home would stop at the reset message.
  [ -f "$work/home/velvoxp.ini" ] || cp tests/scenarios/default.ini "$work/home/velvoxp.ini"
  # A runtime folder of its own: the single-instance lock lives there, and a window someone else
  # left open must not turn this one away.
  mkdir -p -m 700 "$work/runtime"
  XDG_RUNTIME_DIR=$work/runtime DISPLAY=$display "$build/velvox" --home "$work/home" --script "$work/script" >"$work/out" 2>"$work/err" &
  vx=$!
  started+=($vx)
  exec 7>"$work/script"
  sleep 5  # the splash, then the main window
}
send() { printf '%s\n' "$@" >&7; }
# The program's answer to `print ITEM`.
ask() {
  local lines
  lines=$(wc -l <"$work/out")
  send "print $1"
  for _ in $(seq 100); do
    [ "$(wc -l <"$work/out")" -gt "$lines" ] && break
    sleep 0.1
  done
  tail -n 1 "$work/out" | sed 's/.* = //'
}
play() { send "down Pause($1)" "up Pause($1)"; }
# Records sink $1 into $work/$2.raw until killed; prints the recorder's process id.
record() {
  parec -d "$1.monitor" --format=float32le --rate=44100 --channels=2 --raw --latency-msec=20 >"$work/$2.raw" &
  echo $!
}
gaps_in() { "$build/bench/window/bench_gaps" "$work/$1.raw" 1; }

ticks=$(getconf CLK_TCK)
# CPU ticks (user + system, every thread, ended ones included) of the given processes.
cpu_ticks() {
  local total=0 p rest
  for p in "$@"; do
    rest=$(sed 's/.*) //' "/proc/$p/stat")
    # After the command's closing parenthesis, utime and stime are the 12th and 13th fields.
    set -- $rest
    total=$((total + ${12} + ${13}))
  done
  echo "$total"
}
rss_kb() {
  local total=0 p
  for p in "$@"; do total=$((total + $(awk '/^VmRSS:/ {print $2}' "/proc/$p/status"))); done
  echo "$total"
}
# CPU ticks (user + system) of the first process's main thread alone: the window's own work
# (handlers, the tick, drawing), apart from the sound threads and the reader.
main_ticks() {
  local rest
  rest=$(sed 's/.*) //' "/proc/$1/task/$1/stat")
  set -- $rest
  echo $((${12} + ${13}))
}
# "CPU% RSS_MB MAIN%" of the processes over $seconds; MAIN% is the first one's main thread.
measure() {
  local before after main_before main_after
  before=$(cpu_ticks "$@")
  main_before=$(main_ticks "$1")
  sleep "$seconds"
  after=$(cpu_ticks "$@")
  main_after=$(main_ticks "$1")
  awk -v d=$((after - before)) -v m=$((main_after - main_before)) -v t="$ticks" -v s="$seconds" -v r="$(rss_kb "$@")" \
    'BEGIN { printf "%.2f %.1f %.2f\n", 100 * d / t / s, r / 1024, 100 * m / t / s }'
}
