#pragma once
// Loops of each deck: LOOP IN / LOOP OUT / EXIT (`loopin(D)`, `loopout(D)`, `loopexit(D)`),
// halving and doubling (`loophalf(D)`, `loopdouble(D)`), and beat loops of 1/2, 1, 2, 4 and 8
// beats (`beatloop(0..4)` deck A, `beatloop(5..9)` deck B) from the current beat of the song's
// beat grid. The engine plays them exact to the sample; the deck's position stays its real place.
#include "core/program.h"

namespace vx::cues {

// LOOP IN: marks the loop's start at the play head; with a loop playing, moves its start there.
void loopIn(Program& p, int deck);
// LOOP OUT: closes the loop at the play head; refused (nothing happens) before the LOOP IN mark.
void loopOut(Program& p, int deck);
// EXIT: the song plays on from the play head. Pressed in the loop's last 0.19 s (at 44.1 kHz),
// the loop wraps once more first, as the sound may already have.
void exitLoop(Program& p, int deck);
// Halves or doubles the playing loop's length from its start; the play head, when past the
// new end, goes on at the same place in the loop's first part. A double that would pass the
// song's end is refused.
void halveLoop(Program& p, int deck);
void doubleLoop(Program& p, int deck);
// Button k (0..9): the loop of its length from the current beat; pressed again, the loop ends.
// Without a beat grid nothing happens and nothing is said.
void beatLoop(Program& p, int button);

// Lights the deck's loop buttons as its loop stands.
void showLoop(Program& p, int deck);
// Every tick: takes up a song change, and moves the monitor back with the deck at each wrap.
void loopTick(Program& p, int deck);

}  // namespace vx::cues
