#include "djpanel/knob_drag.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "ui/skin_catalogue.h"

namespace vx::djpanel {

namespace {

struct Drag {
  bool held = false;
  double startY = 0;
  double startPosition = 0;
};

// The travel of the mouse includes the detent: positions beyond it sit kDetent further out.
double travelOf(double position) {
  if (position == 0) return 0;
  return position + std::copysign(kDetent, position);
}

void setKnob(form::Knob& knob, int value) {
  if (value == knob.value()) return;
  knob.setValue(value);
  if (knob.events.change) knob.events.change();
}

}  // namespace

void showKnob(form::Knob& knob) {
  const int half = ui::kKnobSteps / 2;
  knob.setPicture(ui::knobPicture(half + static_cast<int>(std::lround(knob.position() * half))));
}

double draggedPosition(double startPosition, double rise) {
  double travel = travelOf(startPosition) + rise / kTwipsPerHalfTurn;
  if (std::abs(travel) <= kDetent) return 0;
  return std::clamp(travel - std::copysign(kDetent, travel), -1.0, 1.0);
}

void wireKnobDrag(form::Knob& knob) {
  auto drag = std::make_shared<Drag>();
  form::Knob* k = &knob;
  knob.events.mouseDown = [drag, k](const form::MouseEvent& e) {
    if (e.button != form::MouseButton::Left) return;
    *drag = {true, e.y, k->position()};
  };
  knob.events.mouseMove = [drag, k](const form::MouseEvent& e) {
    if (!drag->held) return;
    setKnob(*k, k->valueAt(draggedPosition(drag->startPosition, drag->startY - e.y)));
  };
  knob.events.mouseUp = [drag](const form::MouseEvent&) { drag->held = false; };
  knob.events.dblClick = [k] { setKnob(*k, k->centre()); };
}

}  // namespace vx::djpanel
