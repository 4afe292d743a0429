#pragma once
#include "core/program.h"

namespace vx::cues {

// Attaches the DJ panel's hot-cue pads, loop and beat-loop buttons.
void wireCues(Program& p);

}  // namespace vx::cues
