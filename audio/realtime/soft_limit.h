#pragma once
// Keeps the summed output inside full scale without wrapping or hard clipping: samples up to
// kKnee pass unchanged, louder ones bend smoothly toward (never reaching) 1. A sample that is
// not a number becomes silence. Engine thread; pure.
#include <cmath>

namespace vx::audio {

constexpr float kKnee = 0.8f;

inline float softLimit(float x) {
  if (!std::isfinite(x)) return 0.0f;
  float a = std::fabs(x);
  if (a <= kKnee) return x;
  float bent = kKnee + (1.0f - kKnee) * std::tanh((a - kKnee) / (1.0f - kKnee));
  return std::copysign(std::min(bent, 0.99999f), x);
}

}  // namespace vx::audio
