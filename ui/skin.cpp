#include "ui/skin.h"

#include <string_view>

#include "ui/skin_files.h"

namespace vx::ui {

namespace {

// The panels are picture boxes: they follow their picture's size only while sizing themselves.
bool isPanel(const form::Picture& c) {
  return c.name() == "Picture4" || c.name() == "Picture5" || c.name() == "Picture8" || c.name() == "djpanel";
}

// Skins made for the classic window have no DJ panel: it keeps the built-in skin's pictures.
constexpr const char* kBuiltInSkin = "orange";

// The DJ panel, its button and every control on it, each with the picture it shows now.
void loadDjPanel(Program& p, const std::string& folder) {
  for (form::Control* c : p.main.controls()) {
    auto* picture = dynamic_cast<form::Picture*>(c);
    if (!picture || (c->container() != "djpanel" && c->name() != "djpanel" && c->name() != "Imgdj")) continue;
    if (!showPictureFrom(p, folder, *picture, picture->picture()))
      showPictureFrom(p, findSkinFolder(p.skin.roots, kBuiltInSkin), *picture, picture->picture());
  }
}

struct Row {
  std::string_view control;
  int index;
  std::string_view picture;
};

// Pictures in the order the loader sets them. Rows for both decks list deck A first.
constexpr Row kRows[] = {
    {"Imgmenu", -1, "menu1.bmp"},    {"Imgrec", -1, "recorder1.bmp"},   {"Imgadd", 0, "add1.bmp"},
    {"Imgdell", 0, "dell1.bmp"},     {"Imgup", 0, "up1.bmp"},           {"Imgdwn", 0, "down1.bmp"},
    {"ImgtoB", -1, "tob1.bmp"},      {"Imgadd", 1, "add1.bmp"},         {"Imgdell", 1, "dell1.bmp"},
    {"Imgup", 1, "up1.bmp"},         {"Imgdwn", 1, "down1.bmp"},        {"ImgtoA", -1, "toa1.bmp"},
    {"Formend", -1, "formend1.bmp"}, {"Minimum", -1, "formsmall1.bmp"}, {"Tobar", -1, "formbar1.bmp"},
    {"searchL", 0, "sback1.bmp"},    {"searchL", 1, "sback1.bmp"},      {"searchR", 0, "sgo1.bmp"},
    {"searchR", 1, "sgo1.bmp"},      {"Stop", 0, "stop1.bmp"},          {"Stop", 1, "stop1.bmp"},
    {"SongNext", 0, "nextsong1.bmp"}, {"SongNext", 1, "nextsong1.bmp"}, {"SongPre", 0, "presong1.bmp"},
    {"SongPre", 1, "presong1.bmp"},  {"Play", 0, "cue1.bmp"},           {"Play", 1, "cue1.bmp"},
    {"Pause", 0, "play1.bmp"},       {"Pause", 1, "play1.bmp"},         {"switch", -1, "switch1.bmp"},
    {"Lvol", -1, "fdtoa1.bmp"},      {"volR", -1, "fdtob1.bmp"},        {"center", -1, "center1.bmp"},
    {"miniplay", -1, "miniplay.bmp"}, {"ministop", -1, "ministop.bmp"}, {"minipre", -1, "minipre.bmp"},
    {"mininext", -1, "mininext.bmp"}, {"Image1", -1, "bar.bmp"},        {"Picture4", -1, "playerbase.bmp"},
    {"Picture5", -1, "listbox.bmp"}, {"Picture8", -1, "samplerbase.bmp"}, {"jogbtn", 0, "jog.ico"},
    {"jogbtn", 1, "jog.ico"},        {"pitchbtn", 0, "ctrlbtn.bmp"},    {"pitchbtn", 1, "ctrlbtn.bmp"},
    {"Volbtn", 0, "ctrlbtn.bmp"},    {"Volbtn", 1, "ctrlbtn.bmp"},      {"Faderbtn", -1, "faderbtn.bmp"},
    {"panbtn", 0, "pan.bmp"},        {"panbtn", 1, "pan.bmp"},          {"Imgmonitor", 0, "ch12.bmp"},
    {"Imgmonitor", 1, "ch21.bmp"},   {"masterbtn", 0, "ctrlbtn.bmp"},   {"masterbtn", 1, "ctrlbtn.bmp"},
};

// The lit pattern button is the pattern in use, or CUT IN while that is selected.
std::string patternPicture(const Program& p, int button) {
  int lit = p.mixer.cutInMode ? 3 : p.mixer.faderPattern;
  return "fdp" + std::to_string(button + 1) + (button == lit ? "2" : "1") + ".bmp";
}

}  // namespace

bool showPictureFrom(Program& p, const std::string& folder, form::Picture& control, const std::string& name) {
  if (folder.empty() || name.empty()) return false;
  std::string path = folder + "/" + name;
  auto size = readPictureSize(path);
  if (!size) return false;
  control.setPicture(name);
  if (!isPanel(control) || control.autoSize()) {
    control.setWidth(size->width * kTwipsPerPixel);
    control.setHeight(size->height * kTwipsPerPixel);
  }
  // The same name from another skin is a new picture for the view.
  control.touch();
  p.skin.assigned[&control] = {name, path, ++p.skin.serial};
  return true;
}

bool showSkinPicture(Program& p, form::Picture& control, const std::string& name) {
  return showPictureFrom(p, skinFolder(p), control, name);
}

void loadSkin(Program& p) {
  const std::string folder = skinFolder(p);
  for (const Row& row : kRows) {
    form::Picture& c = p.main.picture(std::string(row.control), row.index);
    if (!showPictureFrom(p, folder, c, std::string(row.picture))) return;
  }
  for (int i = 0; i < 4; ++i) {
    if (!showPictureFrom(p, folder, p.main.picture("FDpaturn", i), patternPicture(p, i))) return;
  }
  loadDjPanel(p, folder);
}

bool showAddedPicture(Program& p, form::Picture& control, const std::string& name) {
  return showSkinPicture(p, control, name) ||
         showPictureFrom(p, findSkinFolder(p.skin.roots, kBuiltInSkin), control, name);
}

}  // namespace vx::ui
