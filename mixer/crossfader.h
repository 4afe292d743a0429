#pragma once
// The crossfader: knob placement, the end and centre jumps, the fader patterns and CUT IN.
// The Switch that moves it by itself is in play/switching.h.
#include "core/program.h"
#include "form/control.h"

namespace vx::mixer {

// Puts the knob's left edge at `left` without recomputing the volumes.
void placeFaderKnob(Program& p, double left);

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
