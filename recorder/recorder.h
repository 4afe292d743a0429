#pragma once
#include "core/program.h"

namespace vx::recorder {

// Opens the device with the configured format (and source) and starts recording; the window
// shows the running time from then on. Called by the start button and by a deck's start while
// the automatic start is armed. A failure to record is shown; the window goes on regardless.
void startRecording(Program& p);

}  // namespace vx::recorder
