#include "ui/fonts.h"

#include <filesystem>
#include <functional>

#include "basic/convert.h"
#include "basic/textfile.h"
#include "ui/skin_catalogue.h"
#include "ui/skin_files.h"

namespace vx::ui {

namespace fs = std::filesystem;

namespace {

using Apply = std::function<bool(const std::string&)>;

std::vector<form::Control*> samplerLabels(Program& p) {
  std::vector<form::Control*> labels;
  for (int i = 0; i < 8; ++i) labels.push_back(&p.main.label("Text1", i));
  return labels;
}

// The controls each line of the file is applied to, in line order within its group of five.
std::vector<std::vector<form::Control*>> fontTargets(Program& p) {
  return {{&p.main.label("text2", 0)}, {&p.main.label("text2", 1)}, samplerLabels(p),
          {&p.main.listBox("List1", 0)}, {&p.main.listBox("List1", 1)}};
}

std::optional<long> colourValue(const std::string& text) {
  auto v = basic::ParseInteger(text);
  if (!v || *v < 0 || *v > 0xFFFFFF) return std::nullopt;
  return static_cast<long>(*v);
}

// Every line's setter, in file order.
std::vector<Apply> lineSetters(Program& p) {
  std::vector<Apply> setters;
  auto targets = fontTargets(p);
  for (auto& group : targets)
    setters.push_back([group](const std::string& v) {
      double size = basic::Val(v);
      for (form::Control* c : group)
        if (!c->setFontSize(size)) return false;
      return true;
    });
  for (auto& group : targets)
    setters.push_back([group](const std::string& v) {
      for (form::Control* c : group)
        if (!c->setFontName(v)) return false;
      return true;
    });
  std::vector<std::vector<form::Control*>> coloured = {targets[0], targets[1], targets[2],
                                                       {&p.main.listBox("title1", 0)}, {&p.main.listBox("title1", 1)}};
  for (auto& group : coloured)
    setters.push_back([group](const std::string& v) {
      auto c = colourValue(v);
      if (!c) return false;
      for (form::Control* control : group)
        if (!control->setForeColor(*c)) return false;
      return true;
    });
  setters.push_back([&p](const std::string& v) {
    auto c = colourValue(v);
    return c && p.main.listBox("title1", 0).setBackColor(*c) && p.main.listBox("title1", 1).setBackColor(*c);
  });
  return setters;
}

// The deck's other labels take the main display's colour.
void copyDisplayColour(Program& p) {
  long colour = p.main.label("text2", 0).foreColor();
  for (const char* name : {"lbfilename", "modelabel", "Pitchper", "Keyfocus", "Totaltime"})
    for (int deck = 0; deck < 2; ++deck) p.main.get<form::Control>(name, deck).setForeColor(colour);
}

std::string sizeText(double points) { return basic::CStr(points); }

// The folder to write the skin's font.txt into: the skin's own when it lives in the home
// folder; otherwise (a skin installed with the program, shared by every user) a copy of it in
// the home folder's skins, which from then on hides the installed one.
std::string writableSkinFolder(Program& p, std::string& error) {
  std::string folder = skinFolder(p);
  if (folder.empty()) {
    error = p.settings.skinName + ": スキンが見つかりません";
    return "";
  }
  fs::path home = fs::path(p.homeDir) / "picture";
  fs::path copy = home / p.settings.skinName;
  std::error_code ec;
  if (fs::equivalent(fs::path(folder).parent_path(), home, ec)) return folder;
  fs::create_directories(copy, ec);
  if (!ec) fs::copy(folder, copy, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
  if (ec) {
    error = copy.string() + ": " + ec.message();
    return "";
  }
  return copy.string();
}

}  // namespace

void loadFonts(Program& p) {
  std::string folder = skinFolder(p);
  if (folder.empty()) return;
  basic::TextReadResult file = basic::readTextLines(folder + "/" + kFontFile);
  if (!file.ok) return;
  std::vector<Apply> setters = lineSetters(p);
  for (size_t i = 0; i < setters.size(); ++i)
    if (i >= file.lines.size() || !setters[i](file.lines[i])) return;
  copyDisplayColour(p);
}

std::vector<std::string> fontLines(const Program& p) {
  const form::MainForm& m = p.main;
  const form::Control* sized[] = {&m.label("text2", 0), &m.label("text2", 1), &m.label("Text1", 0),
                                  &m.listBox("List1", 0), &m.listBox("List1", 1)};
  std::vector<std::string> lines;
  for (const form::Control* c : sized) lines.push_back(sizeText(c->fontSize()));
  for (const form::Control* c : sized) lines.push_back(c->fontName());
  for (const form::Control* c : {sized[0], sized[1], sized[2], static_cast<const form::Control*>(&m.listBox("title1", 0)),
                                 static_cast<const form::Control*>(&m.listBox("title1", 1))})
    lines.push_back(std::to_string(c->foreColor()));
  lines.push_back(std::to_string(m.listBox("title1", 0).backColor()));
  return lines;
}

bool saveFonts(Program& p, std::string& error) {
  std::string folder = writableSkinFolder(p, error);
  if (folder.empty()) return false;
  return basic::writeTextLinesAtomic(folder + "/" + kFontFile, fontLines(p), &error);
}

}  // namespace vx::ui
