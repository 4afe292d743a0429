#pragma once
// A deck on the main mixer and the monitor on its own, both playing one song at `rate` with key
// lock, the monitor told of the deck's stretched frames (as the sound system tells it).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "audio/decode/reader.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/mixer.h"
#include "audio/engine/monitor_player.h"
#include "audio/engine/stretch_share.h"

namespace vx::audio::testing {

struct MonitorShareRig {
  MonitorShareRig(const std::string& song, int outputRate, double rate)
      : main(1, outputRate), phones(1, outputRate, RateConverter::Quality::Preview) {
    main.offerStretched(0, share.get());
    deck.setFileName(song);
    platform::MonitorInfo info;
    EXPECT_NE(monitor.open(song, info), 0);
    Command c;
    c.kind = Command::SetShare;
    c.share = share.get();
    c.serial = deck.trackSerial();
    phones.post(c);
    deck.setRate(rate);
    monitor.setRate(rate);
    deck.setKeyLock(true);
    monitor.setKeyLock(true);
  }
  void play() {
    deck.play();
    monitor.play();
  }
  // Frames the monitor's own stretcher has made.
  uint64_t monitorStretched() const { return phones.voice(0).stretchLane().stretchedFrames(); }

  Reader reader;
  Mixer main, phones;
  std::unique_ptr<StretchShare> share = std::make_unique<StretchShare>();  // its queue is large for a stack
  DeckPlayer deck{0, main, reader};
  MonitorPlayer monitor{phones, reader, [](int) {}};
};

}  // namespace vx::audio::testing
