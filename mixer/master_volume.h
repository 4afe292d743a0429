#pragma once
#include "core/program.h"

namespace vx::mixer {

// Places the master knob from the current output level (main window load).
void initMasterKnob(Program& p);
// Applies the level of knob i (0 monitor, 1 master) from the knob's current top.
void masvol2(Program& p, int i);

}  // namespace vx::mixer
