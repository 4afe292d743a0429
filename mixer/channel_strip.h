#pragma once
#include "core/program.h"

namespace vx::mixer {

// Draws the deck's trim pointer from the trim stored with its selected song.
void trimlinedraw(Program& p, int deck);

}  // namespace vx::mixer
