#!/usr/bin/env bash
# The window's cost while a DJ uses it, measured by hand (not in CI): the real program on a
# virtual display (Xvfb), its sound going into PulseAudio null sinks of a private server, driven
# through `velvox --script` from a pipe, at its default 256-frame buffers. CPU (all threads, from
# /proc) and resident memory in four states: nothing loaded; two songs loaded and paused; both
# decks playing with the headphone monitor; both decks pitched (1.07 and 0.93); and once more
# after both were stopped. The baseline is measured in the same run, before and after: two
# `ffplay -nodisp` playing the same two songs into the same sink, the cost of merely decoding and
# playing two songs. Both sinks are recorded while the decks play and searched for gaps.
#
#   bench/window/window_bench.sh [SECONDS_PER_STATE]        (default 30)
#
# Environment: VELVOX_BUILD_DIR (default build), BENCH_DISPLAY (default :93).
# Needs: a build (velvox, bench_gaps), Xvfb, pulseaudio, pactl, parec, ffmpeg, ffplay.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VELVOX_BUILD_DIR:-build}
seconds=${1:-30}
display=${BENCH_DISPLAY:-:93}
song_seconds=$((seconds * 6 + 60))
source bench/window/session.sh

baseline() {
  ffplay -nodisp -autoexit -loglevel quiet "$work/deck-a.mp3" &
  local a=$!
  ffplay -nodisp -autoexit -loglevel quiet "$work/deck-b.mp3" &
  local b=$!
  sleep 3
  local recorder
  recorder=$(record main "baseline-$1")
  measure "$a" "$b"
  kill "$a" "$b" "$recorder"
  wait "$a" "$b" 2>/dev/null || true
}
settle() { sleep 4; }  # a device rests a second after its last sound, the main tick after that
warn_unless() { [ "$(ask "$1")" = "$2" ] || echo "warning: $1 is not $2" >&2; }

read -r base1_cpu base1_rss <<<"$(baseline 1)"
echo "baseline (two ffplay): ${base1_cpu} % CPU, ${base1_rss} MB"

start_program
settle
read -r empty_cpu empty_rss <<<"$(measure "$vx")"

# Loaded songs stand paused at their start; the headphones follow deck A.
send "drop title1(0) $work/deck-a.mp3" "drop title1(1) $work/deck-b.mp3" "click Imgmonitor(0)"
settle
warn_unless "player(0).filename" "\"$work/deck-a.mp3\""
read -r paused_cpu paused_rss <<<"$(measure "$vx")"

play 0
play 1
sleep 2
warn_unless "player(0).state" 2
warn_unless "player(1).state" 2
warn_unless monitor.state 1
rec_main=$(record main playing-main)
rec_phones=$(record phones playing-phones)
read -r playing_cpu playing_rss <<<"$(measure "$vx")"
kill "$rec_main" "$rec_phones"

# The pitch knobs 315 twips from their centres: 7 % up and down.
send "down pitchbase(0) 240 1282.5" "up pitchbase(0) 240 1282.5"
sleep 0.5
send "down pitchbase(1) 240 652.5" "up pitchbase(1) 240 652.5"
sleep 2
echo "rates: $(ask "player(0).rate") and $(ask "player(1).rate"), monitor pitch $(ask monitor.pitch)"
rec_main=$(record main pitched-main)
rec_phones=$(record phones pitched-phones)
read -r pitched_cpu pitched_rss <<<"$(measure "$vx")"
kill "$rec_main" "$rec_phones"

send "click Stop(0)" "click Stop(1)"
settle
warn_unless "player(0).state" 0
read -r stopped_cpu stopped_rss <<<"$(measure "$vx")"
kill "$vx"
wait "$vx" 2>/dev/null || true

read -r base2_cpu base2_rss <<<"$(baseline 2)"
echo "baseline again: ${base2_cpu} % CPU, ${base2_rss} MB"
base=$(awk -v a="$base1_cpu" -v b="$base2_cpu" 'BEGIN { printf "%.2f", (a + b) / 2 }')

echo
echo "state              CPU %   to baseline ($base %)   target   RSS MB"
row() {
  awk -v n="$1" -v c="$2" -v b="$base" -v t="$3" -v r="$4" \
    'BEGIN { printf "%-17s %6.2f   %6.3fx                 < %-4s   %6.1f\n", n, c, c / b, t "x", r }'
}
row "nothing loaded" "$empty_cpu" 0.1 "$empty_rss"
row "loaded, paused" "$paused_cpu" 0.1 "$paused_rss"
row "both playing" "$playing_cpu" 1.5 "$playing_rss"
row "both pitched" "$pitched_cpu" 2.5 "$pitched_rss"
row "stopped again" "$stopped_cpu" 0.1 "$stopped_rss"
echo
echo "gaps of silence (1 ms or longer) in the recordings (the baselines show what the machine's"
echo "own stalls do to a player with 46 ms buffers):"
for r in baseline-1 playing-main playing-phones pitched-main pitched-phones baseline-2; do
  printf '%-16s ' "$r"
  gaps_in "$r"
done
grep -v XDG_RUNTIME_DIR "$work/err" | sed 's/^/the program said: /' || true
