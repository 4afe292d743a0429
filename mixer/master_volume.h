#pragma once
#include "core/program.h"

namespace vx::mixer {

// Places the master knob from the current output level (main window load).
void initMasterKnob(Program& p);

}  // namespace vx::mixer
