#pragma once
#include "core/program.h"

namespace vx::decks {

// Refreshes the deck's time display `text2`.
void timecounter(Program& p, int deck);

}  // namespace vx::decks
