#pragma once
// The first phase of a key press: the deck and transport keys, acting while held.
#include "core/program.h"

namespace vx::keys {

// Runs, in table order, every deck key that is down now, whatever key raised the event.
void heldKeys(Program& p);

}  // namespace vx::keys
