#pragma once
#include "core/program.h"

namespace vx::decks {

// Asks for a music file and loads it into the deck as a new, selected song entry of the deck's
// list, stopped at its start. Cancelling, choosing nothing, or a file the player cannot open
// changes nothing further (the failed open stays in the player, which reports it as failed).
void openmusic(Program& p, int deck);

}  // namespace vx::decks
