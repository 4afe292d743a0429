#pragma once
// Where the controls of a form are and in which order they are drawn. The panels (pictures that
// other controls name as their container) are windows of their own: they and their controls are
// drawn above every control of the form itself, and clip their controls.
#include <QRectF>
#include <vector>

#include "form/form.h"

namespace vx::view {

struct Placed {
  form::Control* control = nullptr;
  form::Control* container = nullptr;  // nullptr: on the form itself
  bool isPanel = false;
};

// Every drawable control, bottom first. Menus and timers are left out.
std::vector<Placed> drawOrder(const form::Form& form);

// The control's rectangle on the form, in twips. A line's is the box around its two ends.
QRectF formRect(const Placed& placed);
// The part of the form the control may draw on: its panel's rectangle, or everything.
QRectF clipRect(const Placed& placed);
// Shown: the control and its panel are visible.
bool isShown(const Placed& placed);

// The ends of a line on the form, in twips.
void lineEnds(const Placed& placed, QPointF& from, QPointF& to);

}  // namespace vx::view
