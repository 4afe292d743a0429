#pragma once
// The crossfader: knob placement, the end and centre jumps, the fader patterns and CUT IN, the
// Switch operation and the per-tick step of an automatic fade.
#include "core/program.h"
#include "form/control.h"

namespace vx::mixer {

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
// Places the crossfader knob for a pointer x in twips from the track's left edge, then
// recomputes the volumes.
void FaderUpdatePosition(Program& p, double x);
// Puts the knob's left edge at `left` (3630 A end, 5130 centre, 6630 B end), then recomputes
// the volumes.
void faderJump(Program& p, int left);
// A click on pattern button n: 0..2 selects pattern A..C, 3 selects CUT IN.
void FDpaturn_Click(Program& p, int n);

// Units the knob moves per tick of an automatic fade: Int(700 / faderTime), at least 1 so that
// a long switching time still arrives.
int fadeStepSize(const Program& p);

// Mouse on the track (`Faderbase`) or the knob (`Faderbtn`, with `onKnob`).
void faderMouseDown(Program& p, const form::MouseEvent& e, bool onKnob);
void faderMouseMove(Program& p, const form::MouseEvent& e, bool onKnob);
void faderMouseUp(Program& p);

}  // namespace vx::mixer
