#pragma once
#include "core/program.h"

namespace vx::decks {

// Attaches the transport and open handlers to both decks' buttons, labels and the open menus.
void wireTransport(Program& p);

}  // namespace vx::decks
