#pragma once
// The master mix on its way from the main output's engine to the headphone monitor's, which
// blends it into the headphones or puts it in the right ear (split cue). The two outputs run on
// their own clocks, so the reader keeps the delay short by dropping what it is too far behind
// and plays silence for what has not arrived.
//
// Threads: the main mixer's engine thread writes (offer, live); the monitor mixer's engine
// thread reads (take). Sized once, on the UI thread, before either side has it.
#include <algorithm>
#include <atomic>

#include "audio/realtime/capture_ring.h"

namespace vx::audio {

class CueFeed {
 public:
  static constexpr int kMaxDelayFrames = 2048;  // ~46 ms at 44.1 kHz: beyond it the reader catches up

  CueFeed() : ring_(static_cast<size_t>(kMaxDelayFrames) * 8) {}

  // Writer: a finished block of the master, and whether the master may still sound.
  void offer(const float* stereo, int frames, bool live) {
    ring_.offer(stereo, static_cast<size_t>(frames) * 2);
    live_.store(live, std::memory_order_relaxed);
  }
  bool live() const { return live_.load(std::memory_order_relaxed); }

  // Reader: the next `frames` frames (<= 512), silence for what is missing. `fresh` forgets what
  // was written before the reader took the feed up.
  void take(float* stereo, int frames, bool fresh) {
    size_t want = static_cast<size_t>(frames) * 2;
    size_t keep = fresh ? 0 : static_cast<size_t>(kMaxDelayFrames) * 2;
    while (ring_.available() > want + keep) {
      size_t drop = std::min(ring_.available() - want - keep, sizeof(dropped_) / sizeof(float));
      ring_.read(dropped_, drop);
    }
    size_t got = ring_.read(stereo, want);
    std::fill(stereo + got, stereo + want, 0.0f);
  }

 private:
  CaptureRing ring_;
  std::atomic<bool> live_{false};
  float dropped_[1024];
};

}  // namespace vx::audio
