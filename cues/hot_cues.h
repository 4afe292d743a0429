#pragma once
// Eight hot cues per deck: pads `hotcue(0..7)` for deck A and `hotcue(8..15)` for deck B.
#include "core/program.h"

namespace vx::cues {

// A press on pad `pad` (0..15). On an empty pad it stores the deck's position, exact to the
// sample, and lights the pad; on a set pad the deck jumps there (a playing deck plays on, a
// paused one moves); with `clear` (Shift, or the right button) the pad is emptied. Nothing
// without a song.
void hotCuePress(Program& p, int pad, bool clear);

// The deck's song changed (loaded, replaced, closed): its pads show the song's stored cues and
// any loop of the old song is forgotten.
void songChanged(Program& p, int deck);

// Jumps the deck to sample frame `frame` of its song, as the cue does; the monitor follows.
void jumpToFrame(Program& p, int deck, int64_t frame);

}  // namespace vx::cues
