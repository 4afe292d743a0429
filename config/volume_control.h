#pragma once
#include "core/program.h"

namespace vx::config {

// Starts the desktop's volume control (the first of the known mixers that starts). Nothing,
// and no message, when the desktop has none.
void startVolumeControl(Program& p);

}  // namespace vx::config
