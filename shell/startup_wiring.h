#pragma once
#include "core/program.h"

namespace vx::shell {

// Attaches the splash timer, the splash's click and key events and the main window's paint.
void wireStartup(Program& p);

}  // namespace vx::shell
