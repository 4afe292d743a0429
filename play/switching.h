#pragma once
// The Switch: an automatic crossfade toward the silent deck (or a cut with CUT IN), starting
// that deck when the settings ask for it, and the per-tick step of a running fade.
#include "core/program.h"

namespace vx::play {

// Starts or cancels an automatic crossfade toward the silent deck.
void switching(Program& p);
// Starts `deck` as the Switch does: playing, its monitor following, its buttons lit, its cue
// standby, hold, stutter and idle cleared.
void startTarget(Program& p, int deck);
// The deck a Switch brings in now: B while the fader stands on the A side, else A.
int switchTarget(const Program& p);
// One step of a running automatic fade; true when it reached the end of the travel
// (the tick then ends).
bool fadeStep(Program& p);

}  // namespace vx::play
