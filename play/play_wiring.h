#pragma once
// Attaches the handlers of the operations that play a set: the main timer, the Switch, the
// automatic-mixing options, loading from the lists, the bar's buttons and the tempo sync.
#include "core/program.h"

namespace vx::play {

void wirePlay(Program& p);

}  // namespace vx::play
