#pragma once
// Knobs drawn over a track or wheel hand their mouse events on in the track's coordinates.
#include "form/control.h"

namespace vx::form {

struct TrackPoint {
  double x, y;
};

// The pointer relative to `track`, for an event raised on the track itself or, with `onKnob`,
// on `knob` (whose own coordinates are then shifted by the knob's offset from the track).
inline TrackPoint trackPoint(const Control& track, const Control& knob, const MouseEvent& e,
                             bool onKnob) {
  if (!onKnob) return {e.x, e.y};
  return {knob.left() + e.x - track.left(), knob.top() + e.y - track.top()};
}

}  // namespace vx::form
