#pragma once
// A peak meter with a short hold and a clip lamp, fed with the blocks the engine renders and
// read through atomics.
//
// Ballistics: the reading rises at once to a block's largest sample, holds it kHoldSeconds, then
// falls kFallDbPerSecond; below kFloor (-60 dBFS) it reads 0. The lamp lights at any sample at or
// beyond full scale and stays lit kClipSeconds after the last one. The fall is quick enough that
// a meter reads 0 (and the lamp is off) well before an output that fell silent rests.
//
// Threads: prepare() while the engine does not run this object; update() and active() on the
// engine thread; peak() and clipped() on any thread.
#include <atomic>

namespace vx::audio::dsp {

class LevelMeter {
 public:
  static constexpr double kHoldSeconds = 0.2;
  static constexpr double kFallDbPerSecond = 80;
  static constexpr double kClipSeconds = 1.0;
  static constexpr float kFloor = 0.001f;

  void prepare(int sampleRate);
  // The largest absolute sample of the next `frames` frames (NaN counts as nothing).
  void update(float blockPeak, int frames);
  // Whether the reading or the lamp will still change while only silence comes.
  bool active() const { return level_ > 0 || clipLeft_ > 0; }

  // Linear amplitude, 1 = full scale.
  float peak() const { return peak_.load(std::memory_order_relaxed); }
  bool clipped() const { return clip_.load(std::memory_order_relaxed); }

  // Helper for the callers: the largest absolute value among `count` samples.
  static float largest(const float* samples, int count);

 private:
  int rate_ = 44100;
  float level_ = 0;
  int holdLeft_ = 0;
  int clipLeft_ = 0;
  std::atomic<float> peak_{0};
  std::atomic<bool> clip_{false};
};

}  // namespace vx::audio::dsp
