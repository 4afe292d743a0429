#include "form/layout.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace vx::form {

namespace {

std::vector<std::string> tokens(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    if (line[i] == '"') {
      size_t end = line.find('"', i + 1);
      if (end == std::string::npos) throw std::runtime_error("unterminated quote");
      out.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      size_t end = line.find_first_of(" \t", i);
      if (end == std::string::npos) end = line.size();
      out.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

Control& create(Form& form, const std::string& kind, const ControlRef& ref) {
  if (kind == "label") return form.add<Label>(ref.name, ref.index);
  if (kind == "picture") return form.add<Picture>(ref.name, ref.index);
  if (kind == "knob") return form.add<Knob>(ref.name, ref.index);
  if (kind == "list") return form.add<ListBox>(ref.name, ref.index);
  if (kind == "slider") return form.add<Slider>(ref.name, ref.index);
  if (kind == "check") return form.add<CheckBox>(ref.name, ref.index);
  if (kind == "option") return form.add<OptionButton>(ref.name, ref.index);
  if (kind == "text") return form.add<TextBox>(ref.name, ref.index);
  if (kind == "line") return form.add<Line>(ref.name, ref.index);
  throw std::runtime_error("unknown control kind " + kind);
}

void applyText(Control& c, const std::string& text) {
  if (auto* l = dynamic_cast<Label*>(&c)) l->setCaption(text);
  else if (auto* p = dynamic_cast<Picture*>(&c)) p->setPicture(text);
  else if (auto* t = dynamic_cast<TextBox*>(&c)) t->setText(text);
  else if (auto* k = dynamic_cast<CheckBox*>(&c)) k->setCaption(text);
  else if (auto* o = dynamic_cast<OptionButton*>(&c)) o->setCaption(text);
}

void applyFlag(Control& c, const std::string& flag) {
  if (flag == "hidden") c.setVisible(false);
  else if (flag == "disabled") c.setEnabled(false);
  else if (flag == "checked") {
    if (auto* m = dynamic_cast<MenuItem*>(&c)) m->setChecked(true);
    else throw std::runtime_error("checked on a control that is not a menu");
  } else if (flag == "autosize") {
    if (auto* p = dynamic_cast<Picture*>(&c)) p->setAutoSize(true);
  } else {
    throw std::runtime_error("unknown flag " + flag);
  }
}

void parseLine(Form& form, const std::vector<std::string>& t) {
  if (t.size() < 2) throw std::runtime_error("too few fields");
  ControlRef ref;
  if (!parseControlRef(t[1], ref) || !ref.form.empty()) throw std::runtime_error("bad reference " + t[1]);
  if (t[0] == "timer") {
    if (t.size() != 3) throw std::runtime_error("timer needs an interval");
    form.add<Timer>(ref.name, ref.index).interval = std::stoi(t[2]);
    return;
  }
  if (t[0] == "menu") {
    if (t.size() < 4) throw std::runtime_error("menu needs a parent and a caption");
    auto& m = form.add<MenuItem>(ref.name, ref.index);
    m.parent = t[2] == "-" ? "" : t[2];
    m.setCaption(t[3]);
    for (size_t i = 4; i < t.size(); ++i) applyFlag(m, t[i]);
    return;
  }
  if (t.size() < 7) throw std::runtime_error("a control needs a container and four numbers");
  Control& c = create(form, t[0], ref);
  c.setContainer(t[2] == "-" ? "" : t[2]);
  c.move(std::stod(t[3]), std::stod(t[4]), std::stod(t[5]), std::stod(t[6]));
  size_t i = 7;
  if (i < t.size() && t[i] != "hidden" && t[i] != "disabled" && t[i] != "autosize") applyText(c, t[i++]);
  for (; i < t.size(); ++i) applyFlag(c, t[i]);
}

}  // namespace

void loadLayout(Form& form, std::string_view text) {
  std::istringstream in{std::string(text)};
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    try {
      parseLine(form, tokens(line));
    } catch (const std::exception& e) {
      throw std::runtime_error(form.name() + " layout line " + std::to_string(number) + ": " + e.what());
    }
  }
}

}  // namespace vx::form
