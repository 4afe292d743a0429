#include "control/control_properties.h"

#include <cstdlib>
#include <functional>
#include <optional>
#include <strings.h>

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words
namespace {

using namespace vx::form;

[[noreturn]] void noProperty(const Control& c, const std::string& property) {
  throw ScriptError(c.ref() + " (a " + kindName(c.kind()) + ") has no property " + property);
}

std::string fileNameOnly(const std::string& path) {
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<Value> commonProperty(const Control& c, const std::string& property) {
  if (property == "left") return Value::real(c.left());
  if (property == "top") return Value::real(c.top());
  if (property == "width") return Value::real(c.width());
  if (property == "height") return Value::real(c.height());
  if (property == "visible") return Value::boolean(c.visible());
  if (property == "enabled") return Value::boolean(c.enabled());
  if (property == "fontname") return Value::text(c.fontName());
  if (property == "fontsize") return Value::real(c.fontSize());
  if (property == "forecolor") return Value::integer(c.foreColor());
  if (property == "backcolor") return Value::integer(c.backColor());
  return std::nullopt;
}

std::optional<Value> captionOf(const Control& c) {
  if (auto* l = dynamic_cast<const Label*>(&c)) return Value::text(l->caption());
  if (auto* k = dynamic_cast<const CheckBox*>(&c)) return Value::text(k->caption());
  if (auto* o = dynamic_cast<const OptionButton*>(&c)) return Value::text(o->caption());
  if (auto* m = dynamic_cast<const MenuItem*>(&c)) return Value::text(m->caption());
  return std::nullopt;
}

std::optional<Value> valueOf(const Control& c) {
  if (auto* s = dynamic_cast<const Slider*>(&c)) return Value::integer(s->value());
  if (auto* n = dynamic_cast<const Knob*>(&c)) return Value::integer(n->value());
  if (auto* k = dynamic_cast<const CheckBox*>(&c)) return Value::integer(k->value());
  if (auto* o = dynamic_cast<const OptionButton*>(&c)) return Value::boolean(o->value());
  return std::nullopt;
}

std::optional<Value> checkedOf(const Control& c) {
  if (auto* m = dynamic_cast<const MenuItem*>(&c)) return Value::boolean(m->checked());
  if (auto* k = dynamic_cast<const CheckBox*>(&c)) return Value::boolean(k->value() == 1);
  return std::nullopt;
}

std::optional<Value> listProperty(const ListBox& l, const std::string& property, int element) {
  if (property == "listindex") return Value::integer(l.listIndex());
  if (property == "listcount") return Value::integer(l.listCount());
  if (property == "text") return Value::text(l.item(l.listIndex()));
  if (property == "list") {
    // an entry the list does not have is an answer, so that expecting it fails as a test
    if (element < 0 || element >= l.listCount()) return Value::unavailable();
    return Value::text(l.item(element));
  }
  return std::nullopt;
}

std::optional<Value> lineProperty(const Line& l, const std::string& property) {
  if (property == "x1") return Value::real(l.x1);
  if (property == "y1") return Value::real(l.y1);
  if (property == "x2") return Value::real(l.x2);
  if (property == "y2") return Value::real(l.y2);
  return std::nullopt;
}

std::optional<Value> kindProperty(const Control& c, const std::string& property, int element) {
  if (auto* l = dynamic_cast<const ListBox*>(&c)) return listProperty(*l, property, element);
  if (auto* l = dynamic_cast<const Line*>(&c)) return lineProperty(*l, property);
  if (property == "caption") return captionOf(c);
  if (property == "value") return valueOf(c);
  if (property == "checked") return checkedOf(c);
  if (property == "text") {
    if (auto* t = dynamic_cast<const TextBox*>(&c)) return Value::text(t->text());
  }
  if (property == "picture") {
    if (auto* p = dynamic_cast<const Picture*>(&c)) return Value::text(fileNameOnly(p->picture()));
  }
  if (property == "interval") {
    if (auto* t = dynamic_cast<const Timer*>(&c)) return Value::integer(t->interval);
  }
  return std::nullopt;
}

bool parseBool(const Word& w) {
  if (strcasecmp(w.text.c_str(), "true") == 0 || w.text == "-1" || w.text == "1") return true;
  if (strcasecmp(w.text.c_str(), "false") == 0 || w.text == "0") return false;
  throw ScriptError("True or False expected, not " + w.text);
}

double parseReal(const Word& w) {
  char* end = nullptr;
  double d = std::strtod(w.text.c_str(), &end);
  if (w.text.empty() || *end != '\0') throw ScriptError("a number expected, not " + w.text);
  return d;
}

int parseInt(const Word& w) {
  double d = parseReal(w);
  if (d != static_cast<int>(d)) throw ScriptError("a whole number expected, not " + w.text);
  return static_cast<int>(d);
}

void raise(const std::function<void()>& handler) {
  if (handler) handler();
}

bool setValue(Control& c, const Word& v) {
  if (auto* s = dynamic_cast<Slider*>(&c)) {
    int before = s->value();
    s->setValue(parseInt(v));
    if (s->value() != before) raise(c.events.change);
  } else if (auto* n = dynamic_cast<Knob*>(&c)) {
    int before = n->value();
    n->setValue(parseInt(v));
    if (n->value() != before) raise(c.events.change);
  } else if (auto* k = dynamic_cast<CheckBox*>(&c)) {
    int value = parseInt(v);
    if (value < 0 || value > 2) throw ScriptError("a check box's value is 0, 1 or 2");
    int before = k->value();
    k->setValue(value);
    if (value != before) raise(c.events.click);
  } else if (auto* o = dynamic_cast<OptionButton*>(&c)) {
    bool value = parseBool(v);
    o->setValue(value);
    if (value) raise(c.events.click);
  } else {
    return false;
  }
  return true;
}

bool setChecked(Control& c, const Word& v) {
  if (auto* m = dynamic_cast<MenuItem*>(&c)) {
    m->setChecked(parseBool(v));
    return true;
  }
  if (dynamic_cast<CheckBox*>(&c)) return setValue(c, Word{parseBool(v) ? "1" : "0", false});
  return false;
}

bool setText(Control& c, const Word& v) {
  auto* t = dynamic_cast<TextBox*>(&c);
  if (!t) return false;
  std::string before = t->text();
  t->setText(v.text);
  if (t->text() != before) raise(c.events.change);
  return true;
}

bool setListIndex(Control& c, const Word& v) {
  auto* l = dynamic_cast<ListBox*>(&c);
  if (!l) return false;
  int index = parseInt(v);
  if (!l->setListIndex(index))
    throw ScriptError(c.ref() + " has " + std::to_string(l->listCount()) + " entries; index " + v.text + " is out of range");
  raise(c.events.click);
  return true;
}

bool setCaption(Control& c, const Word& v) {
  if (auto* l = dynamic_cast<Label*>(&c)) l->setCaption(v.text);
  else if (auto* m = dynamic_cast<MenuItem*>(&c)) m->setCaption(v.text);
  else if (auto* k = dynamic_cast<CheckBox*>(&c)) k->setCaption(v.text);
  else if (auto* o = dynamic_cast<OptionButton*>(&c)) o->setCaption(v.text);
  else return false;
  return true;
}

bool setPlain(Control& c, const std::string& property, const Word& v) {
  if (property == "visible") c.setVisible(parseBool(v));
  else if (property == "enabled") c.setEnabled(parseBool(v));
  else if (property == "left") c.setLeft(parseReal(v));
  else if (property == "top") c.setTop(parseReal(v));
  else if (property == "caption") return setCaption(c, v);
  else return false;
  return true;
}

}  // namespace

Value readControlProperty(const Control& c, const std::string& property, int element) {
  if (element >= 0 && property != "list") noProperty(c, property + "(" + std::to_string(element) + ")");
  if (auto v = commonProperty(c, property)) return *v;
  if (auto v = kindProperty(c, property, element)) return *v;
  noProperty(c, property);
}

Value readFormProperty(const Form& f, const std::string& property) {
  if (property == "caption") return Value::text(f.caption);
  if (property == "left") return Value::real(f.left);
  if (property == "top") return Value::real(f.top);
  if (property == "width") return Value::real(f.width);
  if (property == "height") return Value::real(f.height);
  if (property == "visible") return Value::boolean(f.visible);
  throw ScriptError("the window " + f.name() + " has no property " + property);
}

void setControlProperty(Control& c, const std::string& property, const Word& value) {
  bool done = false;
  if (property == "value") done = setValue(c, value);
  else if (property == "checked") done = setChecked(c, value);
  else if (property == "text") done = setText(c, value);
  else if (property == "listindex") done = setListIndex(c, value);
  else done = setPlain(c, property, value);
  if (!done) throw ScriptError(c.ref() + " (a " + std::string(kindName(c.kind())) + ") has no property " + property + " to set");
}

}  // namespace vx::control
