#pragma once
#include "core/program.h"

namespace vx::songlist {

// Attaches the song lists' handlers: drops, presses and double-clicks on the visible lists,
// the list buttons, the pop-up menu entries and the list-file and clear commands.
void wireSongLists(Program& p);

}  // namespace vx::songlist
