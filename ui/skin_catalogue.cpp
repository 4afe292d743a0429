#include "ui/skin_catalogue.h"

namespace vx::ui {

namespace {

// Buttons and lamps with a released (1) and a pressed or lit (2) picture.
constexpr const char* kPairs[] = {
    "menu",   "recorder", "add",     "dell",     "up",    "down",   "tob",     "toa",   "formend", "formsmall",
    "formbar", "sback",   "sgo",     "stop",     "nextsong", "presong", "cue",  "play",  "switch",  "fdtoa",
    "fdtob",  "center",   "sampler", "list",     "ch1",   "ch2",    "fdp1",    "fdp2",  "fdp3",    "fdp4",
    "recstart", "save",
};

// Pictures without a second state.
constexpr const char* kSingles[] = {
    "miniplay.bmp", "ministop.bmp", "minipre.bmp",  "mininext.bmp",  "bar.bmp",     "playerbase.bmp",
    "listbox.bmp",  "samplerbase.bmp", "jog.ico",   "ctrlbtn.bmp",   "faderbtn.bmp", "pan.bmp",
    "recorderbase.bmp", "splash.bmp",
};

std::vector<std::string> build() {
  std::vector<std::string> names;
  for (const char* stem : kPairs) {
    names.push_back(std::string(stem) + "1.bmp");
    names.push_back(std::string(stem) + "2.bmp");
  }
  names.insert(names.end(), std::begin(kSingles), std::end(kSingles));
  return names;
}

}  // namespace

const std::vector<std::string>& skinPictureNames() {
  static const std::vector<std::string> names = build();
  return names;
}

}  // namespace vx::ui
