#pragma once
// The timing of a Standard MIDI File: where its ticks fall in seconds and where it ends. Any
// thread (pure computation).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx::audio {

class MidiTiming {
 public:
  // Empty when the bytes are not a readable Standard MIDI File.
  static std::optional<MidiTiming> parse(const std::string& bytes);

  double seconds(int64_t tick) const;
  int64_t tickAt(double seconds) const;  // the last tick at or before the time
  int64_t lastTick() const { return lastTick_; }
  double durationSeconds() const { return seconds(lastTick_); }

 private:
  struct Tempo {
    int64_t tick;
    double secondsPerTick;
    double startSeconds;  // of `tick`
  };
  void addTempo(int64_t tick, uint32_t microsPerQuarter);

  int division_ = 480;        // ticks per quarter note (metrical time)
  double smpteTick_ = 0;      // seconds per tick when the file counts in SMPTE frames
  std::vector<Tempo> tempos_;
  int64_t lastTick_ = 0;
};

}  // namespace vx::audio
