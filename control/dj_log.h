#pragma once
// The DJ panel's port as the headless run sees it: every setting is passed on to the sound system
// behind it and the last one of each kind kept, for `dj.settings`.
#include <string>

#include "platform/dj_mixer.h"

namespace vx::control {

class DjLog : public platform::DjMixer {
 public:
  explicit DjLog(platform::DjMixer* mixer = nullptr) : mixer_(mixer) {}

  void setEq(int deck, int band, int tenthsDb) override;
  void setKill(int deck, int band, bool kill) override;
  void setFilter(int deck, int position) override;
  void setMonitorDeck(int deck) override;
  void setCueMix(int percent) override;
  void setSplitCue(bool on) override;
  platform::MeterReading meter(int channel) const override;

  // "A eq 0 0 -260 kill 0 0 1 filter 0 | B eq ... | monitor 0 cuemix 50 split 1", bands low, mid, high.
  std::string settings() const;

 private:
  struct Deck {
    int eq[3] = {0, 0, 0};
    bool kill[3] = {false, false, false};
    int filter = 0;
  };
  static bool valid(int deck, int band) { return deck >= 0 && deck < 2 && band >= 0 && band < 3; }

  platform::DjMixer* mixer_;
  Deck decks_[2];
  int monitorDeck_ = 0;
  int cueMix_ = 0;
  bool split_ = false;
};

}  // namespace vx::control
