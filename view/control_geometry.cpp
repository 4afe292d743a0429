#include "view/control_geometry.h"

#include <set>
#include <string>

namespace vx::view {

namespace {

bool drawable(const form::Control& c) {
  return c.kind() != form::ControlKind::Menu && c.kind() != form::ControlKind::Timer;
}

QPointF origin(const Placed& p) {
  return p.container ? QPointF(p.container->left(), p.container->top()) : QPointF(0, 0);
}

}  // namespace

std::vector<Placed> drawOrder(const form::Form& form) {
  std::set<std::string> panels;
  for (form::Control* c : form.controls())
    if (!c->container().empty()) panels.insert(c->container());
  std::vector<Placed> order;
  for (form::Control* c : form.controls())
    if (drawable(*c) && c->container().empty() && !panels.count(c->name())) order.push_back({c, nullptr, false});
  for (form::Control* panel : form.controls()) {
    if (!panels.count(panel->name()) || !panel->container().empty()) continue;
    order.push_back({panel, nullptr, true});
    for (form::Control* c : form.controls())
      if (drawable(*c) && c->container() == panel->name()) order.push_back({c, panel, false});
  }
  return order;
}

void lineEnds(const Placed& p, QPointF& from, QPointF& to) {
  const auto& line = static_cast<const form::Line&>(*p.control);
  from = origin(p) + QPointF(line.x1, line.y1);
  to = origin(p) + QPointF(line.x2, line.y2);
}

QRectF formRect(const Placed& p) {
  if (p.control->kind() == form::ControlKind::Line) {
    QPointF a, b;
    lineEnds(p, a, b);
    return QRectF(a, b).normalized();
  }
  QPointF o = origin(p);
  return QRectF(o.x() + p.control->left(), o.y() + p.control->top(), p.control->width(), p.control->height());
}

QRectF clipRect(const Placed& p) {
  if (!p.container) return QRectF(-1e7, -1e7, 2e7, 2e7);
  const form::Control& c = *p.container;
  return QRectF(c.left(), c.top(), c.width(), c.height());
}

bool isShown(const Placed& p) { return p.control->visible() && (!p.container || p.container->visible()); }

}  // namespace vx::view
