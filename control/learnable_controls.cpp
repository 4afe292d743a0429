#include "control/learnable_controls.h"

#include <unordered_map>

namespace vx::control {

namespace {

using midi::ControlKind;

std::string indexed(const std::string& name, int i) { return name + "(" + std::to_string(i) + ")"; }

void button(std::vector<LearnableControl>& t, const std::string& name) {
  t.push_back({name, ControlKind::Button, "", Travel::None, 0, 0, 0});
}

void buttons(std::vector<LearnableControl>& t, const std::string& name, int count) {
  for (int i = 0; i < count; ++i) button(t, indexed(name, i));
}

// Knob positions are the layout's and the handlers' clamps (mixer/, decks/): a knob centred on the
// pointer, its top or left at the ends of the track's travel.
void deckFaders(std::vector<LearnableControl>& t, int d) {
  const double shift = d == 0 ? 0 : 7280;  // pan tracks: 1080 on deck A, 8360 on deck B
  t.push_back({indexed("Volbtn", d), ControlKind::VerticalFader, indexed("Volbase", d), Travel::KnobTop, 3330, 2580, 1830});
  // Down is faster, as the knob's rate grows with its top.
  t.push_back({indexed("pitchbtn", d), ControlKind::VerticalFader, indexed("pitchbase", d), Travel::KnobTop, 3352.5, 2400, 1432.5});
  t.push_back({indexed("panbtn", d), ControlKind::HorizontalFader, indexed("Panbase", d), Travel::KnobLeft,
               952.5 + shift, 1620 + shift, 2287.5 + shift});
  t.push_back({indexed("Trimbase", d), ControlKind::Knob, "", Travel::Rotary, 0, 0.5, 1});
  t.push_back({indexed("jogbtn", d), ControlKind::JogWheel, indexed("jogbase", d), Travel::None, 0, 0, 0});
}

void panelKnobs(std::vector<LearnableControl>& t) {
  for (const char* name : {"eqhigh", "eqmid", "eqlow", "filter"})
    for (int d = 0; d < 2; ++d) t.push_back({indexed(name, d), ControlKind::Knob, "", Travel::Dial, -1, 0, 1});
  t.push_back({"cuemix", ControlKind::Knob, "", Travel::Dial, -1, 0, 1});
}

std::vector<LearnableControl> buildTable() {
  std::vector<LearnableControl> t;
  for (const char* name : {"Pause", "Play", "Stop", "searchL", "searchR", "modelabel", "Imgmonitor", "def",
                           "Imgup", "Imgdwn", "SongPre", "SongNext"})
    buttons(t, name, 2);
  buttons(t, "FDpaturn", 4);  // the three curve patterns and CUT IN
  for (const char* name : {"switch", "Lvol", "center", "volR"}) button(t, name);
  buttons(t, "Text1", 8);  // the sampler's slots
  for (int d = 0; d < 2; ++d) deckFaders(t, d);
  t.push_back({"Faderbtn", ControlKind::HorizontalFader, "Faderbase", Travel::KnobLeft, 3630, 5130, 6630});
  // 0 is the monitor's level, 1 the master level; up is louder.
  for (int i = 0; i < 2; ++i)
    t.push_back({indexed("masterbtn", i), ControlKind::VerticalFader, indexed("masterbase", i), Travel::KnobTop, 4840, 4340, 3840});
  // The DJ panel.
  buttons(t, "hotcue", 16);
  for (const char* name : {"loopin", "loopout", "loopexit", "loophalf", "loopdouble", "keylock", "killhigh", "killmid", "killlow"})
    buttons(t, name, 2);
  buttons(t, "beatloop", 10);
  button(t, "splitcue");
  panelKnobs(t);
  return t;
}

}  // namespace

const std::vector<LearnableControl>& learnableControls() {
  static const std::vector<LearnableControl> table = buildTable();
  return table;
}

const LearnableControl* findLearnable(std::string_view name) {
  static const std::unordered_map<std::string, const LearnableControl*> byName = [] {
    std::unordered_map<std::string, const LearnableControl*> m;
    for (const LearnableControl& c : learnableControls()) {
      m.emplace(c.name, &c);
      if (!c.track.empty()) m.emplace(c.track, &c);
    }
    return m;
  }();
  const auto it = byName.find(std::string(name));
  return it == byName.end() ? nullptr : it->second;
}

}  // namespace vx::control
