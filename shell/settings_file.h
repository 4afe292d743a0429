#pragma once
#include "core/program.h"

namespace vx::shell {

// Reads the settings file into the lists, decks, menus and settings. Never fails outward.
void readSettings(Program& p);

}  // namespace vx::shell
