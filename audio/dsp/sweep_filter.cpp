#include "audio/dsp/sweep_filter.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/denormal_guard.h"

namespace vx::audio::dsp {
namespace {

constexpr double kLowPassOpen = 20000, kLowPassClosed = 30;
constexpr double kHighPassOpen = 20, kHighPassClosed = 15000;
constexpr int kDesignEvery = 8;  // frames between new coefficients while the knob glides

}  // namespace

double SweepFilter::cutoff(double position, double sampleRate) {
  double p = std::clamp(std::fabs(position), 0.0, 1.0);
  double hz = position < 0 ? kLowPassOpen * std::pow(kLowPassClosed / kLowPassOpen, p)
                           : kHighPassOpen * std::pow(kHighPassClosed / kHighPassOpen, p);
  return std::min(hz, 0.45 * sampleRate);
}

void SweepFilter::prepare(int sampleRate) {
  rate_ = std::max(sampleRate, 1000);
  position_.setFrames(static_cast<int>(kRampSeconds * rate_));
  position_.jump(0);
  bypassed_ = quiet_ = true;
}

void SweepFilter::setPosition(double position) {
  if (!std::isfinite(position)) return;
  position = std::clamp(position, -1.0, 1.0);
  position_.setTarget(position);
  if (position == 0) return;
  if (bypassed_) {
    ic1_ = ic2_ = Pair{0, 0};
    bypassed_ = false;
  }
  quiet_ = false;
}

void SweepFilter::design(double position) {
  double g = std::tan(kPi * cutoff(position, rate_) / rate_), k = 1 / kQ;
  a1_ = 1 / (1 + g * (g + k));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

void SweepFilter::process(float* s, int frames) {
  if (bypassed_) return;
  DenormalGuard guard;
  const double k = 1 / kQ;
  float inputPeak = 0, outputPeak = 0;
  double p = position_.value();
  design(p);
  for (int i = 0; i < frames; ++i) {
    if (position_.moving()) {
      p = position_.next();
      if (i % kDesignEvery == 0) design(p);
    }
    double wet = std::min(1.0, std::fabs(p) / kDryZone);
    float* frame = s + 2 * i;
    Pair x;
    for (int c = 0; c < 2; ++c) {
      x[c] = std::fabs(frame[c]) <= 1e6f ? frame[c] : 0.0f;  // not a number: would stay in the filter for good
      inputPeak = std::max(inputPeak, static_cast<float>(std::fabs(x[c])));
    }
    Pair v3 = x - ic2_;
    Pair v1 = a1_ * ic1_ + a2_ * v3;
    Pair v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    Pair y = p < 0 ? v2 : x - k * v1 - v2;
    Pair out = x + wet * (y - x);
    for (int c = 0; c < 2; ++c) {
      frame[c] = static_cast<float>(out[c]);
      outputPeak = std::max(outputPeak, std::fabs(frame[c]));
    }
  }
  flushTiny(ic1_);
  flushTiny(ic2_);
  quiet_ = inputPeak == 0 && outputPeak < 1e-7f;
  if (position_.target() == 0 && !position_.moving()) bypassed_ = true;
}

}  // namespace vx::audio::dsp
