#pragma once
// The program's windows besides the main window and the splash.
#include "core/program.h"

namespace vx::recorder {

// Closes every window of the program but the main window and the splash, and the recorder's
// while it holds a take (recording, or stopped and not saved): a take cannot be made again.
void unloadOtherWindows(Program& p);

}  // namespace vx::recorder
