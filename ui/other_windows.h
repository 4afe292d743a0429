#pragma once
// The program's windows besides the main window and the splash.
#include "core/program.h"

namespace vx::ui {

// Closes every window of the program but the main window and the splash.
void unloadOtherWindows(Program& p);

}  // namespace vx::ui
