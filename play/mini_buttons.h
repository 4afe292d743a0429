#pragma once
// The four buttons of the small bar. They act on the deck played last and play the two decks
// alternately: "next" readies the next song on the deck that was playing and starts the other.
#include "core/program.h"

namespace vx::play {

void miniplay_Click(Program& p);
void ministop_Click(Program& p);
void mininext_Click(Program& p);
void minipre_Click(Program& p);

}  // namespace vx::play
