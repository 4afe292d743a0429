#pragma once
#include "core/program.h"

namespace vx::mixer {

// Attaches the channel strips, the crossfader with its buttons, the master and monitor knobs
// and the continuous-play menu options to their handlers.
void wireMixer(Program& p);

}  // namespace vx::mixer
