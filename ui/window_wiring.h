#pragma once
#include "core/program.h"

namespace vx::ui {

// Attaches the window's own buttons and menus: panel and menu-bar toggles, bar mode and its
// mini buttons, minimise, always on top, dragging by the title, the about and skin windows.
void wireWindowModes(Program& p);

}  // namespace vx::ui
