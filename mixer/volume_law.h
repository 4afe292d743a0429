#pragma once
#include "core/program.h"

namespace vx::mixer {

// Recomputes both players' volumes from the crossfader, pattern, trims and channel faders.
void volcontrol(Program& p);

}  // namespace vx::mixer
