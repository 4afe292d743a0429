#!/usr/bin/env bash
# A long set, by hand (not in CI): both decks and the headphone monitor play at the default
# 256-frame buffers for MINUTES minutes (default 10) while the window is driven as a DJ would:
# every few seconds a pitch change on one deck, a jog on the other, and a cue on deck B with a
# restart. Both sinks are recorded the whole time and searched for gaps of silence. Deck A (which
# the monitor follows) never stops, so any silence in either recording is a dropout. At the same
# time two `ffplay -nodisp` play into a third sink, recorded too: their gaps are what the
# machine's own stalls do to a plain player with 46 ms buffers in the same minutes.
#
#   bench/window/dropout_run.sh [MINUTES] [keylock]
#
# With `keylock`, both decks (and so the monitor) play with key lock on the whole time.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${VELVOX_BUILD_DIR:-build}
minutes=${1:-10}
display=${BENCH_DISPLAY:-:93}
song_seconds=$((minutes * 60 + 120))
seconds=0
source bench/window/session.sh

start_program
send "drop title1(0) $work/deck-a.mp3" "drop title1(1) $work/deck-b.mp3" "click Imgmonitor(0)"
sleep 1
play 0
play 1
if [ "${2:-}" = keylock ]; then
  send "key 37" "key 75" "key 39" "key 75"  # K for the deck with the keyboard focus
  sleep 0.5
  [ "$(ask "keylock(1).picture")" = '"keylock2.bmp"' ] || echo "warning: key lock is not on" >&2
fi
sleep 2
[ "$(ask monitor.state)" = 1 ] || echo "warning: the monitor does not play" >&2
rec_main=$(record main set-main)
rec_phones=$(record phones set-phones)
PULSE_SINK=base ffplay -nodisp -loop 0 -loglevel quiet "$work/deck-a.mp3" &
base_a=$!
PULSE_SINK=base ffplay -nodisp -loop 0 -loglevel quiet "$work/deck-b.mp3" &
base_b=$!
started+=("$base_a" "$base_b")
sleep 1
rec_base=$(record base set-baseline)
echo "the program's threads (nice, real-time priority, scheduling class):"
ps -L -o tid=,ni=,rtprio=,cls=,comm= -p "$vx" | sed 's/^/  /'

# Pitch knob heights for about -7 %, -3 %, +3 % and +7 %, a jog drag round the wheel's top.
pitches=(652.5 1132.5 1402.5 1882.5)
step=0
end=$((SECONDS + minutes * 60))
while [ "$SECONDS" -lt "$end" ]; do
  deck=$((step % 2))
  other=$((1 - deck))
  y=${pitches[$((step % 4))]}
  send "down pitchbase($deck) 240 $y" "up pitchbase($deck) 240 $y"
  sleep 1.5
  send "down jogbase($other) 848.5 420" "move jogbase($other) 1147 540" "move jogbase($other) 1147 1140" \
    "up jogbase($other) 1147 1140"
  sleep 1.5
  if [ $((step % 3)) -eq 2 ]; then
    send "down Play(1)"
    sleep 0.4
    send "up Play(1)"
    sleep 0.3
    play 1
  fi
  sleep 1
  step=$((step + 1))
done
kill "$rec_main" "$rec_phones" "$rec_base" "$base_a" "$base_b"
echo "$step rounds of pitch changes, jogs and (every third) a cue, in $minutes minutes"
echo "deck states at the end: $(ask "player(0).state") $(ask "player(1).state"), monitor $(ask monitor.state)"
echo "gaps of silence (1 ms or longer):"
for r in set-main set-phones set-baseline; do
  printf '%-13s ' "$r"
  gaps_in "$r"
done
