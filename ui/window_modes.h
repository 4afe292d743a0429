#pragma once
#include "core/program.h"

namespace vx::ui {

// Lays out the window's panels for the shown/hidden flags.
void layoutWindow(Program& p);

}  // namespace vx::ui
