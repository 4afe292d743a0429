#include "ui/window_drag.h"

#include <memory>

namespace vx::ui {

namespace {

struct DragOrigin {
  double x = 0, y = 0;  // where the button went down, twips in the control
};

void attach(Program& p, form::Control& c, const std::shared_ptr<DragOrigin>& origin) {
  c.events.mouseDown = [origin](const form::MouseEvent& e) {
    if (e.button != form::MouseButton::Left) return;
    origin->x = e.x;
    origin->y = e.y;
  };
  // The control moves with the window, so each move reports only what is left to travel.
  c.events.mouseMove = [&p, origin](const form::MouseEvent& e) {
    if (e.button != form::MouseButton::Left) return;
    p.main.top += e.y - origin->y;
    p.main.left += e.x - origin->x;
    p.main.touch();
  };
}

}  // namespace

void wireWindowDrag(Program& p) {
  auto origin = std::make_shared<DragOrigin>();
  attach(p, p.main.picture("Image1"), origin);
  attach(p, p.main.label("topbar"), origin);
  attach(p, p.main.label("bartime"), origin);
}

}  // namespace vx::ui
