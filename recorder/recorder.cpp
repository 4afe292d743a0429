#include "recorder/recorder.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::recorder {

void startRecording(Program&) {}

}  // namespace vx::recorder
