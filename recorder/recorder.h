#pragma once
#include "core/program.h"

namespace vx::recorder {

// Starts recording with the armed settings.
void startRecording(Program& p);

}  // namespace vx::recorder
