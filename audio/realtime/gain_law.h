#pragma once
// Levels as the ports state them, turned into linear gains. Any thread; pure.
#include <algorithm>
#include <cmath>

namespace vx::audio {

// Hundredths of a decibel: 0 = full, -10000 (or less) = silence.
inline float gainFromHundredthsDb(long level) {
  if (level <= -10000) return 0.0f;
  return static_cast<float>(std::pow(10.0, static_cast<double>(std::min(level, 0L)) / 2000.0));
}

struct StereoGain {
  float left = 1, right = 1;
};

// A deck's volume and balance (balance -10000 = left only .. 10000 = right only: the far side is
// turned down by that many hundredths of a decibel). Muted is silence.
inline StereoGain deckGain(long volume, long balance, bool muted) {
  if (muted) return {0, 0};
  float g = gainFromHundredthsDb(volume);
  float left = balance > 0 ? gainFromHundredthsDb(-balance) : 1.0f;
  float right = balance < 0 ? gainFromHundredthsDb(balance) : 1.0f;
  return {g * left, g * right};
}

// The monitor's level in percent, 0 .. 100, as amplitude.
inline float gainFromPercent(long percent) { return static_cast<float>(std::clamp(percent, 0L, 100L)) / 100.0f; }

// One channel of the master level, 0 .. 0xFFFF, as amplitude.
inline float gainFromWaveOut(unsigned channel) { return static_cast<float>(channel & 0xFFFFu) / 65535.0f; }

}  // namespace vx::audio
