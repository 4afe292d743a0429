#pragma once
// The DJ panel's sound controls: per deck a three-band equaliser with kills and a filter, the
// level meters, and the headphone cue mix with split cue.
//
// Threads: UI thread only. Settings take effect within a block and glide there (no click);
// meters are read as often as the panel likes and cost nothing to read.
namespace vx::platform {

// One meter: the peak level with a short hold (linear, 1 = full scale; 0 when silent) and the
// clip lamp, lit for a second after any sample at or beyond full scale.
struct MeterReading {
  float peak = 0;
  bool clip = false;
};

class DjMixer {
 public:
  enum Band : int { Low = 0, Mid = 1, High = 2 };
  static constexpr int kMasterMeter = 2;  // meter(0) and meter(1) are the decks' channels

  virtual ~DjMixer() = default;
  // `tenthsDb` -260 .. 60 (clamped), 0 = flat. Acts before the channel fader, on what the deck
  // sends to the master and to the headphone monitor.
  virtual void setEq(int deck, int band, int tenthsDb) = 0;
  // A killed band is silent whatever its knob says; releasing the kill brings the knob back.
  virtual void setKill(int deck, int band, bool kill) = 0;
  // -100 (low-pass fully closed) .. 0 (off) .. 100 (high-pass fully closed), clamped.
  virtual void setFilter(int deck, int position) = 0;
  // The deck the headphone monitor plays: the monitor takes that deck's equaliser and filter.
  virtual void setMonitorDeck(int deck) = 0;
  // Headphones: 0 = the monitored deck only .. 100 = the master only (clamped).
  virtual void setCueMix(int percent) = 0;
  // Headphones: the monitored deck (mono) in the left ear, the master (mono) in the right. When
  // the monitor's device is the main output itself, that output plays this split while it is on.
  virtual void setSplitCue(bool on) = 0;
  // 0, 1: the decks' channels after equaliser and channel fader; kMasterMeter: the master after
  // the master level. Other numbers read as silence.
  virtual MeterReading meter(int channel) const = 0;
};

}  // namespace vx::platform
