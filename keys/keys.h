#pragma once
#include "core/program.h"

namespace vx::keys {

// Key press on the main window: the Windows virtual-key code and the shift mask.
void MainForm_KeyDown(Program& p, int keyCode, int shift);
void MainForm_KeyUp(Program& p, int keyCode, int shift);

}  // namespace vx::keys
