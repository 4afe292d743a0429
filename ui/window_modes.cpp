#include "ui/window_modes.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::ui {

void layoutWindow(Program&) {}

}  // namespace vx::ui
