#pragma once
#include "core/program.h"

namespace vx::ui {

// Lets the left mouse button drag the window by its title picture, its title label and the
// bar-mode time label: the window follows the pointer's moves from where it was pressed.
// Other buttons do nothing.
void wireWindowDrag(Program& p);

}  // namespace vx::ui
