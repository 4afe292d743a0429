#pragma once
#include "core/program.h"

namespace vx::decks {

// Attaches the main timer, the pitch slider, the jog wheel, the search buttons, the pitch reset
// and the monitor buttons of both decks to their handlers.
void wireDeckControls(Program& p);

}  // namespace vx::decks
