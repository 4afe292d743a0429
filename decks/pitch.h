#pragma once
#include "core/program.h"

namespace vx::decks {

// Applies the pitch knob's position to the deck's rate (unless the pitch lock runs).
void applyPitch(Program& p, int deck);

}  // namespace vx::decks
