#include "control/control_commands.h"

#include "control/control_properties.h"
#include "control/forms.h"
#include "control/items.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words
namespace {

using form::Control;
using form::MouseEvent;

void raise(const std::function<void(const MouseEvent&)>& handler, const MouseEvent& e) {
  if (handler) handler(e);
}

void raise(const std::function<void()>& handler) {
  if (handler) handler();
}

// Visible and enabled, and so is every panel it sits on.
bool reachable(const form::Form& f, const Control& c) {
  const Control* at = &c;
  for (int depth = 0; at && depth < 32; ++depth) {
    if (!at->visible() || !at->enabled()) return false;
    if (at->container().empty()) return true;
    at = f.find(at->container());
  }
  return at != nullptr;
}

MouseEvent mouseEvent(const Control& c, const MouseArgs& m) {
  MouseEvent e;
  e.button = m.button;
  e.shift = m.shift;
  e.x = m.x.value_or(c.width() / 2);
  e.y = m.y.value_or(c.height() / 2);
  return e;
}

void raiseOnControl(Control& c, const Command& cmd) {
  MouseEvent e = mouseEvent(c, cmd.mouse);
  form::ControlEvents& ev = c.events;
  switch (cmd.kind) {
    case CommandKind::Down: raise(ev.mouseDown, e); break;
    case CommandKind::Up: raise(ev.mouseUp, e); break;
    case CommandKind::Move: raise(ev.mouseMove, e); break;
    case CommandKind::Click:
      raise(ev.mouseDown, e);
      raise(ev.mouseUp, e);
      raise(ev.click);
      break;
    case CommandKind::DblClick:
      raise(ev.mouseDown, e);
      raise(ev.mouseUp, e);
      raise(ev.click);
      raise(ev.dblClick);
      raise(ev.mouseUp, e);
      break;
    default: break;
  }
}

// A window named alone ("frmSplash"), when MainForm has no control of that name.
form::Form* windowNamed(Program& p, const form::ControlRef& ref) {
  if (!ref.form.empty() || ref.index >= 0 || p.main.find(ref.name)) return nullptr;
  return findForm(p, ref.name == "MainForm" ? "" : ref.name);
}

}  // namespace

bool raiseMouse(Program& p, const Command& c) {
  form::ControlRef ref = parseRef(c.target);
  if (form::Form* window = windowNamed(p, ref)) {
    if (c.kind != CommandKind::Click) throw ScriptError("a window takes only click");
    raise(window->click);
    return true;
  }
  Control& control = findControl(p, ref);
  if (!reachable(*findForm(p, ref.form), control)) return false;
  raiseOnControl(control, c);
  return true;
}

void raiseKey(Program& p, const Command& c) {
  if (c.kind != CommandKind::KeyUp && p.main.keyDown) p.main.keyDown(c.key, c.shift);
  if (c.kind != CommandKind::KeyDown && p.main.keyUp) p.main.keyUp(c.key, c.shift);
}

bool raiseDrop(Program& p, const Command& c) {
  form::ControlRef ref = parseRef(c.target);
  Control& control = findControl(p, ref);
  if (!reachable(*findForm(p, ref.form), control)) return false;
  if (control.events.dragDrop) control.events.dragDrop(c.paths, c.shift);
  return true;
}

bool raiseMenu(Program& p, const std::string& name) {
  form::ControlRef ref = parseRef(name);
  form::Form& f = *findForm(p, ref.form);
  auto* item = dynamic_cast<form::MenuItem*>(&findControl(p, ref));
  if (!item) throw ScriptError(name + " is not a menu entry");
  const form::MenuItem* m = item;
  for (int depth = 0; m && depth < 32; ++depth) {
    if (!m->enabled()) return false;
    m = m->parent.empty() ? nullptr : f.findAs<form::MenuItem>(m->parent);
  }
  raise(item->events.click);
  return true;
}

namespace {

form::Form& windowForm(Program& p, const std::string& window) {
  form::Form* f = findForm(p, window == "MainForm" ? "" : window);
  if (!f) throw ScriptError("no window " + window);
  return *f;
}

}  // namespace

void closeWindow(Program& p, const std::string& window) {
  form::Form& f = windowForm(p, window);
  if (f.queryClose) {
    f.queryClose();
  } else if (&f == &p.main) {
    p.quitRequested = true;
  } else {
    f.visible = false;
    f.touch();
  }
}

void deactivateWindow(Program& p, const std::string& window) {
  form::Form& f = windowForm(p, window);
  if (f.deactivate) f.deactivate();
}

void setProperty(Program& p, const std::string& target, const Word& value) {
  ItemRef item = parseItem(target);
  if (item.kind != ItemRef::Kind::Control || item.element >= 0) throw ScriptError(target + " cannot be set");
  setControlProperty(findControl(p, item.control), item.property, value);
}

}  // namespace vx::control
