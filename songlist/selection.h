#pragma once
#include "core/program.h"

namespace vx::songlist {

// Selects the entry after the selected one (wrapping) and loads it into the deck, paused.
void Nextsong(Program& p, int deck);
// The same toward the previous entry.
void Presong(Program& p, int deck);

}  // namespace vx::songlist
