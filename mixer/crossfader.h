#pragma once
#include "core/program.h"

namespace vx::mixer {

// Starts or cancels an automatic crossfade toward the silent deck.
void switching(Program& p);
// One step of a running automatic fade; true when it reached the end of the travel
// (the tick then ends).
bool fadeStep(Program& p);

}  // namespace vx::mixer
