#pragma once
#include "core/program.h"

namespace vx::ui {

// Loads the current skin's pictures into the controls, stopping at the first missing one.
void loadSkin(Program& p);

}  // namespace vx::ui
