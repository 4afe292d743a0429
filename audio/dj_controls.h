#pragma once
// The DJ panel's sound controls (the DjMixer port): turns knob settings into commands for the
// decks' voices of the main mixer and for the monitor's voice, lays the outputs out for the cue
// mix, and reads the meters.
//
// Threads: UI thread only.
#include <functional>

#include "platform/dj_mixer.h"

namespace vx::audio {

class CueFeed;
class Mixer;

class DjControls : public platform::DjMixer {
 public:
  struct Routing {
    // The monitor plays on the main output's own device.
    std::function<bool()> sharedDevice;
    // The main output rests (no device renders it): its meters read silence.
    std::function<bool()> resting;
  };
  DjControls(Mixer& main, Mixer& phones, CueFeed& feed, Routing routing);

  void setEq(int deck, int band, int tenthsDb) override;
  void setKill(int deck, int band, bool kill) override;
  void setFilter(int deck, int position) override;
  void setMonitorDeck(int deck) override;
  void setCueMix(int percent) override;
  void setSplitCue(bool on) override;
  platform::MeterReading meter(int channel) const override;

  // The monitor moved to another device: the cue layout follows.
  void routeChanged() { sendCue(); }

 private:
  struct Channel {
    int eq[3] = {0, 0, 0};
    bool kill[3] = {false, false, false};
    int filter = 0;
  };
  void sendBand(int deck, int band);
  void sendFilter(int deck);
  void sendCue();

  Mixer& main_;
  Mixer& phones_;
  CueFeed& feed_;
  Routing routing_;
  Channel decks_[2];
  int monitorDeck_ = 0;
  int cueMix_ = 0;
  bool split_ = false;
};

}  // namespace vx::audio
