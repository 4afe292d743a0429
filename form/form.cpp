#include "form/form.h"

#include <cctype>
#include <stdexcept>

namespace vx::form {

const char* kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return "label";
    case ControlKind::Picture: return "picture";
    case ControlKind::ListBox: return "list";
    case ControlKind::Slider: return "slider";
    case ControlKind::CheckBox: return "check";
    case ControlKind::OptionButton: return "option";
    case ControlKind::TextBox: return "text";
    case ControlKind::Menu: return "menu";
    case ControlKind::Timer: return "timer";
    case ControlKind::Line: return "line";
    case ControlKind::ComboBox: return "combo";
    case ControlKind::Frame: return "frame";
  }
  return "?";
}

std::string Control::ref() const {
  if (index_ < 0) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

void Control::move(double left, double top, double width, double height) {
  setLeft(left);
  setTop(top);
  setWidth(width);
  setHeight(height);
}

void ChangeList::note(Control& c) {
  ++count_;
  if (c.listed_) return;
  c.listed_ = true;
  list_.push_back(&c);
}

void ChangeList::take(std::vector<Control*>& out) {
  out.clear();
  out.swap(list_);
  for (Control* c : out) c->listed_ = false;
}

void Form::insert(std::unique_ptr<Control> c) {
  auto key = std::make_pair(c->name(), c->index());
  if (controls_.count(key)) throw std::logic_error(name_ + ": duplicate control " + c->ref());
  c->listChangesIn(&changes_);
  order_.push_back(c.get());
  controls_.emplace(key, std::move(c));
}

Control* Form::find(const std::string& name, int index) const {
  auto it = controls_.find({name, index});
  return it == controls_.end() ? nullptr : it->second.get();
}

void Form::missing(const std::string& name, int index) {
  throw std::logic_error("no control " + name + (index >= 0 ? "(" + std::to_string(index) + ")" : ""));
}

bool parseControlRef(const std::string& text, ControlRef& out) {
  out = ControlRef{};
  std::string rest = text;
  auto dot = rest.find('.');
  auto paren = rest.find('(');
  if (dot != std::string::npos && (paren == std::string::npos || dot < paren)) {
    out.form = rest.substr(0, dot);
    rest = rest.substr(dot + 1);
  }
  paren = rest.find('(');
  if (paren != std::string::npos) {
    if (rest.back() != ')') return false;
    std::string num = rest.substr(paren + 1, rest.size() - paren - 2);
    if (num.empty()) return false;
    for (char ch : num)
      if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    out.index = std::stoi(num);
    rest = rest.substr(0, paren);
  }
  if (rest.empty()) return false;
  for (char ch : rest)
    if (!(std::isalnum(static_cast<unsigned char>(ch)) || ch == '_')) return false;
  out.name = rest;
  return true;
}

}  // namespace vx::form
