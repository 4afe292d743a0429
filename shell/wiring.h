#pragma once
#include "core/program.h"

namespace vx::shell {

// Attaches every subsystem's event handlers to the controls of the main window, once, after the
// Program is built. The view and the driver then only raise control events.
void wireMainForm(Program& p);

}  // namespace vx::shell
