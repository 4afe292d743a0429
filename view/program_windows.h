#pragma once
#include "core/program.h"

namespace vx::view {

class GuiApp;

// Opens a window for every form of the program besides the main window and the splash.
void addProgramWindows(GuiApp& gui, Program& p);

}  // namespace vx::view
