#include "keys/keys.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::keys {

void MainForm_KeyDown(Program&, int, int) {}
void MainForm_KeyUp(Program&, int, int) {}

}  // namespace vx::keys
