#pragma once
#include "core/program.h"

namespace vx::decks {

// Whether the main tick may pause until the user acts again: no deck plays, and no step of the
// tick has anything of its own to do (no stutter, no pitch lock counting down, no automatic fade,
// no held search button, no title long enough to scroll, no tempo analysis waiting to be shown). What remains of a tick then only turns
// the search phase, which no one sees. The automatic check depends on positions that do not move
// while nothing plays: a tick that changed nothing will change nothing the next time either, so
// the caller also requires that the tick it just ran changed nothing.
bool mainTickCanRest(Program& p);

}  // namespace vx::decks
