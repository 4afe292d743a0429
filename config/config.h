#pragma once
#include "core/program.h"

namespace vx::config {

// Puts the configuration dialog's eight sampler-slot buttons back to their empty state.
void resetSlotButtons(Program& p);

}  // namespace vx::config
