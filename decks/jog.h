#pragma once
// The jog wheel: dragging its knob around the wheel moves the deck's mark about 0.133 s per
// quarter turn (clockwise forward), measured from `jogBase`.
#include "core/program.h"
#include "form/control.h"

namespace vx::decks {

// One jog movement to the pointer (x, y), relative to the wheel `jogbase`: counts a quarter turn
// when the pointer passes into the next quadrant, puts the knob on the wheel in the pointer's
// direction, sets the mark (never below 0) and seeks the deck to it. A deck parked at its cue
// point starts its stutter from there. A pointer at the wheel's centre keeps knob and mark.
void JogUpdatePosition(Program& p, int deck, double x, double y);

// Mouse on the wheel (`jogbase`) or its knob (`jogbtn`); knob coordinates are turned into wheel
// coordinates. A drag is measured from the mark of a frozen deck, else from the deck's position at
// the press; the release makes the mark the base of the next drag and returns the knob to twelve.
void jogMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void jogMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void jogMouseUp(Program& p, int deck);

}  // namespace vx::decks
