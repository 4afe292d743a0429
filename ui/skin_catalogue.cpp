#include "ui/skin_catalogue.h"

namespace vx::ui {

namespace {

// Buttons and lamps with a released (1) and a pressed or lit (2) picture.
constexpr const char* kPairs[] = {
    "menu",   "recorder", "add",     "dell",     "up",    "down",   "tob",     "toa",   "formend", "formsmall",
    "formbar", "sback",   "sgo",     "stop",     "nextsong", "presong", "cue",  "play",  "switch",  "fdtoa",
    "fdtob",  "center",   "sampler", "list",     "ch1",   "ch2",    "fdp1",    "fdp2",  "fdp3",    "fdp4",
    "recstart", "save",
    // The DJ panel
    "dj", "killhigh", "killmid", "killlow", "split", "clip", "loopin", "loopout", "loopexit", "loophalf",
    "loopdouble", "keylock", "hotcue1", "hotcue2", "hotcue3", "hotcue4", "hotcue5", "hotcue6", "hotcue7", "hotcue8",
    "beatloop1", "beatloop2", "beatloop3", "beatloop4", "beatloop5",
};

// Pictures without a second state.
constexpr const char* kSingles[] = {
    "miniplay.bmp", "ministop.bmp", "minipre.bmp",  "mininext.bmp",  "bar.bmp",     "playerbase.bmp",
    "listbox.bmp",  "samplerbase.bmp", "jog.ico",   "ctrlbtn.bmp",   "faderbtn.bmp", "pan.bmp",
    "recorderbase.bmp", "splash.bmp", "djpanel.bmp", "overview.bmp",
};

// A knob's picture per angle step and a meter's per number of lit segments.
std::string numbered(const char* stem, int n) {
  return stem + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".bmp";
}

std::vector<std::string> build() {
  std::vector<std::string> names;
  for (const char* stem : kPairs) {
    names.push_back(std::string(stem) + "1.bmp");
    names.push_back(std::string(stem) + "2.bmp");
  }
  names.insert(names.end(), std::begin(kSingles), std::end(kSingles));
  for (int i = 0; i <= kKnobSteps; ++i) names.push_back(knobPicture(i));
  for (int i = 0; i <= kMeterSegments; ++i) names.push_back(meterPicture(i));
  return names;
}

}  // namespace

std::string knobPicture(int step) { return numbered("knob", step); }
std::string meterPicture(int lit) { return numbered("meter", lit); }

const std::vector<std::string>& skinPictureNames() {
  static const std::vector<std::string> names = build();
  return names;
}

}  // namespace vx::ui
