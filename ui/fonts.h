#pragma once
#include "core/program.h"

namespace vx::ui {

// Loads the current skin's fonts and colours.
void loadFonts(Program& p);

}  // namespace vx::ui
