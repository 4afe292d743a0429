#pragma once
// The mouse on a DJ panel knob: dragging up turns it clockwise, with a detent at the centre that
// holds the knob there for a short stretch of the drag; a double-click sets it back to the centre.
// Every change raises the knob's `change` event, as a value set by a script does.
#include "core/program.h"

namespace vx::djpanel {

inline constexpr double kTwipsPerHalfTurn = 1200;  // drag from the centre to an end
inline constexpr double kDetent = 0.1;             // of a half turn, held at the centre

// The knob's picture for its position.
void showKnob(form::Knob& knob);

// Attaches the mouse scheme to the knob.
void wireKnobDrag(form::Knob& knob);

// A drag from `startPosition` (-1 .. 1) by `rise` twips upward: the position it leaves.
double draggedPosition(double startPosition, double rise);

}  // namespace vx::djpanel
