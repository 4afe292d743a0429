#pragma once
// The stutter of a frozen deck: every few ticks the deck jumps back to its mark and plays on
// from there, while its PLAY and CUE buttons blink.
#include "core/program.h"

namespace vx::decks {

// One tick of the stutter of `deck`; call only while its `stutterArmed` is set. After more than
// `stutterInterval` ticks the deck returns to `markPosition` and plays again, and the monitored
// deck's monitor follows it. A deck without a file only returns to the mark.
void stutterStep(Program& p, int deck);

}  // namespace vx::decks
