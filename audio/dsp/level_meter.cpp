#include "audio/dsp/level_meter.h"

#include <algorithm>
#include <cmath>

namespace vx::audio::dsp {

void LevelMeter::prepare(int sampleRate) {
  rate_ = std::max(sampleRate, 1000);
  level_ = 0;
  holdLeft_ = clipLeft_ = 0;
  peak_.store(0, std::memory_order_relaxed);
  clip_.store(false, std::memory_order_relaxed);
}

float LevelMeter::largest(const float* samples, int count) {
  float m = 0;
  for (int i = 0; i < count; ++i) {
    float a = std::fabs(samples[i]);
    if (a > m) m = a;  // NaN compares false and is skipped
  }
  return m;
}

void LevelMeter::update(float blockPeak, int frames) {
  if (!(blockPeak >= 0)) blockPeak = 0;
  if (blockPeak >= 1.0f) clipLeft_ = static_cast<int>(kClipSeconds * rate_);
  else clipLeft_ = std::max(0, clipLeft_ - frames);
  if (blockPeak >= level_ && blockPeak >= kFloor) {
    level_ = blockPeak;
    holdLeft_ = static_cast<int>(kHoldSeconds * rate_);
  } else if (holdLeft_ > 0) {
    holdLeft_ = std::max(0, holdLeft_ - frames);
  } else if (level_ > 0) {
    level_ *= static_cast<float>(std::pow(10.0, -kFallDbPerSecond / 20.0 * frames / rate_));
    level_ = std::max(level_, blockPeak);
    if (level_ < kFloor) level_ = 0;
  }
  peak_.store(level_, std::memory_order_relaxed);
  clip_.store(clipLeft_ > 0, std::memory_order_relaxed);
}

}  // namespace vx::audio::dsp
