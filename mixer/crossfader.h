#pragma once
#include "core/program.h"

namespace vx::mixer {

// Starts or cancels an automatic crossfade toward the silent deck.
void switching(Program& p);
// One step of a running automatic fade; true when it reached the end of the travel
// (the tick then ends).
bool fadeStep(Program& p);
// Places the crossfader knob for a pointer x in twips from the track's left edge, then
// recomputes the volumes.
void FaderUpdatePosition(Program& p, double x);
// Puts the knob's left edge at `left` (3630 A end, 5130 centre, 6630 B end), then recomputes
// the volumes.
void faderJump(Program& p, int left);
// A click on pattern button n: 0..2 selects pattern A..C, 3 selects CUT IN.
void FDpaturn_Click(Program& p, int n);

}  // namespace vx::mixer
