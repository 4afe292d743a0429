#include "ui/skin_buttons.h"

#include <string>
#include <utility>

#include "ui/skin.h"

namespace vx::ui {

namespace {

struct PressedButton {
  const char* control;
  int index;
  const char* stem;  // "add" for "add1.bmp" / "add2.bmp"
};

constexpr PressedButton kButtons[] = {
    {"Imgadd", 0, "add"},        {"Imgadd", 1, "add"},        {"Imgdell", 0, "dell"},   {"Imgdell", 1, "dell"},
    {"Imgup", 0, "up"},          {"Imgup", 1, "up"},          {"Imgdwn", 0, "down"},    {"Imgdwn", 1, "down"},
    {"ImgtoB", -1, "tob"},       {"ImgtoA", -1, "toa"},       {"Formend", -1, "formend"}, {"Minimum", -1, "formsmall"},
    {"Tobar", -1, "formbar"},    {"searchL", 0, "sback"},     {"searchL", 1, "sback"},  {"searchR", 0, "sgo"},
    {"searchR", 1, "sgo"},       {"Stop", 0, "stop"},         {"Stop", 1, "stop"},      {"SongNext", 0, "nextsong"},
    {"SongNext", 1, "nextsong"}, {"SongPre", 0, "presong"},   {"SongPre", 1, "presong"}, {"switch", -1, "switch"},
    {"Lvol", -1, "fdtoa"},       {"volR", -1, "fdtob"},       {"center", -1, "center"},
};

using MouseHandler = std::function<void(const form::MouseEvent&)>;

// Runs the handler that was there first, then shows the picture.
MouseHandler thenShow(Program& p, form::Picture& button, MouseHandler before, std::string picture) {
  return [&p, &button, before = std::move(before), picture = std::move(picture)](const form::MouseEvent& e) {
    if (before) before(e);
    showSkinPicture(p, button, picture);
  };
}

}  // namespace

void wireSkinButtons(Program& p) {
  for (const PressedButton& b : kButtons) {
    form::Picture& button = p.main.picture(b.control, b.index);
    const std::string stem = b.stem;
    button.events.mouseDown = thenShow(p, button, button.events.mouseDown, stem + "2.bmp");
    button.events.mouseUp = thenShow(p, button, button.events.mouseUp, stem + "1.bmp");
  }
}

}  // namespace vx::ui
