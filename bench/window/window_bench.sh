#!/usr/bin/env bash
# The window's cost while a DJ uses it, measured by hand (not in CI): the real program on a
# virtual display (Xvfb), its sound going into PulseAudio null sinks of a private server, driven
# through `velvox --script` from a pipe, at its default 256-frame buffers. CPU (all threads, from
# /proc), the main thread's share of it (the window's own work) and resident memory in these
# states: nothing loaded; two songs loaded and paused; both decks playing with the headphone
# monitor, and again with the DJ panel shown and its meters moving, with and without the decks'
# overviews; both decks pitched (1.07 and 0.93); both at 1.07 with key lock; and once more
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

read -r base1_cpu base1_rss _ <<<"$(baseline 1)"
echo "baseline (two ffplay): ${base1_cpu} % CPU, ${base1_rss} MB"

start_program
settle
read -r empty_cpu empty_rss empty_main <<<"$(measure "$vx")"

# Loaded songs stand paused at their start; the headphones follow deck A.
send "drop title1(0) $work/deck-a.mp3" "drop title1(1) $work/deck-b.mp3" "click Imgmonitor(0)"
settle
warn_unless "player(0).filename" "\"$work/deck-a.mp3\""
read -r paused_cpu paused_rss paused_main <<<"$(measure "$vx")"

play 0
play 1
sleep 2
warn_unless "player(0).state" 2
warn_unless "player(1).state" 2
warn_unless monitor.state 1
rec_main=$(record main playing-main)
rec_phones=$(record phones playing-phones)
read -r playing_cpu playing_rss playing_main <<<"$(measure "$vx")"
kill "$rec_main" "$rec_phones"

# The same with the DJ panel shown, its meters moving with both decks.
send "click Imgdj"
sleep 2
[ "$(ask "meter(2).picture")" != '"meter00.bmp"' ] || echo "warning: the master meter does not move" >&2
read -r panel_cpu panel_rss panel_main <<<"$(measure "$vx")"

# The same without the overviews: what their position lines cost.
send "set overview(0).visible false" "set overview(1).visible false"
sleep 1
read -r bare_cpu bare_rss bare_main <<<"$(measure "$vx")"
send "set overview(0).visible true" "set overview(1).visible true"
send "click Imgdj"

# The pitch knobs 315 twips from their centres: 7 % up and down.
send "down pitchbase(0) 240 1282.5" "up pitchbase(0) 240 1282.5"
sleep 0.5
send "down pitchbase(1) 240 652.5" "up pitchbase(1) 240 652.5"
sleep 2
echo "rates: $(ask "player(0).rate") and $(ask "player(1).rate"), monitor pitch $(ask monitor.pitch)"
rec_main=$(record main pitched-main)
rec_phones=$(record phones pitched-phones)
read -r pitched_cpu pitched_rss pitched_main <<<"$(measure "$vx")"
kill "$rec_main" "$rec_phones"

# Key lock: both decks at +7 % with key lock on (the key K for the deck with the keyboard focus,
# Left and Right moving the focus), the monitor following deck A.
send "down pitchbase(1) 240 1282.5" "up pitchbase(1) 240 1282.5" "key 37" "key 75" "key 39" "key 75"
sleep 2
warn_unless "keylock(0).picture" '"keylock2.bmp"'
warn_unless "keylock(1).picture" '"keylock2.bmp"'
echo "key lock at rates $(ask "player(0).rate") and $(ask "player(1).rate")"
rec_main=$(record main keylock-main)
rec_phones=$(record phones keylock-phones)
read -r keylock_cpu keylock_rss keylock_main <<<"$(measure "$vx")"
kill "$rec_main" "$rec_phones"
send "key 37" "key 75" "key 39" "key 75"

send "click Stop(0)" "click Stop(1)"
settle
warn_unless "player(0).state" 0
read -r stopped_cpu stopped_rss stopped_main <<<"$(measure "$vx")"
kill "$vx"
wait "$vx" 2>/dev/null || true

read -r base2_cpu base2_rss _ <<<"$(baseline 2)"
echo "baseline again: ${base2_cpu} % CPU, ${base2_rss} MB"
base=$(awk -v a="$base1_cpu" -v b="$base2_cpu" 'BEGIN { printf "%.2f", (a + b) / 2 }')

echo
echo "state              CPU %   to baseline ($base %)   target   main thread %   target   RSS MB"
row() {
  awk -v n="$1" -v c="$2" -v b="$base" -v t="$3" -v m="$4" -v mt="$5" -v r="$6" \
    'BEGIN { printf "%-17s %6.2f   %6.3fx                 < %-5s  %6.2f          %-6s   %6.1f\n", n, c, c / b, t "x", m, mt == "" ? "" : "< " mt, r }'
}
row "nothing loaded" "$empty_cpu" 0.1 "$empty_main" "" "$empty_rss"
row "loaded, paused" "$paused_cpu" 0.1 "$paused_main" "" "$paused_rss"
row "both playing" "$playing_cpu" 1.3 "$playing_main" 1 "$playing_rss"
row "playing, DJ panel" "$panel_cpu" 1.5 "$panel_main" 1 "$panel_rss"
row "no overviews" "$bare_cpu" 1.5 "$bare_main" 1 "$bare_rss"
awk -v a="$playing_cpu" -v b="$panel_cpu" -v base="$base" \
  'BEGIN { printf "the DJ panel and its meters raise the playing ratio by %.3f (target at most 0.1)\n", (b - a) / base }'
awk -v a="$bare_cpu" -v b="$panel_cpu" -v am="$bare_main" -v bm="$panel_main" \
  'BEGIN { printf "the overviews add %.2f percentage points to the program, %.2f to the main thread (target at most 0.2)\n", b - a, bm - am }'
row "both pitched" "$pitched_cpu" 2.5 "$pitched_main" 1 "$pitched_rss"
row "key lock, 1.07" "$keylock_cpu" 4 "$keylock_main" 1 "$keylock_rss"
row "stopped again" "$stopped_cpu" 0.1 "$stopped_main" "" "$stopped_rss"
echo
echo "gaps of silence (1 ms or longer) in the recordings (the baselines show what the machine's"
echo "own stalls do to a player with 46 ms buffers):"
for r in baseline-1 playing-main playing-phones pitched-main pitched-phones keylock-main keylock-phones baseline-2; do
  printf '%-16s ' "$r"
  gaps_in "$r"
done
grep -v XDG_RUNTIME_DIR "$work/err" | sed 's/^/the program said: /' || true
