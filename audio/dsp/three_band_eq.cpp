#include "audio/dsp/three_band_eq.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/denormal_guard.h"

namespace vx::audio::dsp {
namespace {

// The two second-order halves of a 4th-order Butterworth filter; two of them in a row make the
// 8th-order Linkwitz-Riley filter, and the Butterworth all-pass of the same poles is their sum.
constexpr double kQ[2] = {0.54119610014619698, 1.3065629648763766};

template <size_t N>
Pair chain(std::array<Biquad, N>& sections, Pair x) {
  for (Biquad& b : sections) x = b.process(x);
  return x;
}

}  // namespace

void ThreeBandEq::prepare(int sampleRate) {
  double rate = std::max(sampleRate, 1000);
  // At low rates the upper crossover stays below the Nyquist frequency.
  double high = std::min(kHighCrossover, 0.4 * rate), low = std::min(kLowCrossover, 0.25 * high);
  Filters& f = filters_;
  for (int i = 0; i < 4; ++i) {
    f.lowPass[static_cast<size_t>(i)] = Biquad::lowPass(low, kQ[i % 2], rate);
    f.highPass[static_cast<size_t>(i)] = Biquad::highPass(high, kQ[i % 2], rate);
  }
  for (int i = 0; i < 2; ++i) {
    f.lowAllPass[static_cast<size_t>(i)] = Biquad::allPass(low, kQ[i], rate);
    f.highAllPass[static_cast<size_t>(i)] = Biquad::allPass(high, kQ[i], rate);
  }
  for (LinearRamp& g : gains_) {
    g.setFrames(static_cast<int>(kRampSeconds * rate));
    g.jump(1);
  }
  fadeFrames_ = std::max(1, static_cast<int>(kFadeSeconds * rate));
  wet_.setFrames(fadeFrames_);
  wet_.jump(0);
  bypassed_ = quiet_ = true;
}

bool ThreeBandEq::flatTarget() const {
  for (const LinearRamp& g : gains_)
    if (g.target() != 1.0) return false;
  return true;
}

void ThreeBandEq::setGain(int band, double gain) {
  if (band < 0 || band > 2 || !std::isfinite(gain)) return;
  gains_[band].setTarget(std::clamp(gain, 0.0, 4.0));
  if (!flatTarget()) wake();
}

void ThreeBandEq::wake() {
  if (bypassed_) {
    // The filters start from rest and are faded in, so their start-up is not heard.
    filters_.clear();
    bypassed_ = false;
  }
  quiet_ = false;
  wet_.setTarget(1);
}

Pair ThreeBandEq::Filters::run(Pair x, double gl, double gm, double gh) {
  Pair lowPre = chain(lowPass, x);
  Pair rest = chain(lowAllPass, x) - lowPre;
  Pair high = chain(highPass, rest);
  return chain(highAllPass, gl * lowPre + gm * rest) + (gh - gm) * high;
}

void ThreeBandEq::Filters::clear() {
  for (auto* group : {lowPass.data(), highPass.data()})
    for (int i = 0; i < 4; ++i) group[i].clear();
  for (auto* group : {lowAllPass.data(), highAllPass.data()})
    for (int i = 0; i < 2; ++i) group[i].clear();
}

void ThreeBandEq::Filters::flushTiny() {
  for (auto* group : {lowPass.data(), highPass.data()})
    for (int i = 0; i < 4; ++i) group[i].flushTiny();
  for (auto* group : {lowAllPass.data(), highAllPass.data()})
    for (int i = 0; i < 2; ++i) group[i].flushTiny();
}

void ThreeBandEq::process(float* s, int frames) {
  if (bypassed_) return;
  DenormalGuard guard;
  float inputPeak = 0, outputPeak = 0;
  for (int i = 0; i < frames; ++i) {
    double gl = gains_[Low].next(), gm = gains_[Mid].next(), gh = gains_[High].next(), w = wet_.next();
    float* frame = s + 2 * i;
    Pair x;
    for (int c = 0; c < 2; ++c) {
      // A sample that is not a number (a damaged file) would stay in the filters for good.
      x[c] = std::fabs(frame[c]) <= 1e6f ? frame[c] : 0.0f;
      inputPeak = std::max(inputPeak, static_cast<float>(std::fabs(x[c])));
    }
    Pair y = filters_.run(x, gl, gm, gh), out = x + w * (y - x);
    for (int c = 0; c < 2; ++c) {
      frame[c] = static_cast<float>(out[c]);
      outputPeak = std::max(outputPeak, std::fabs(frame[c]));
    }
  }
  filters_.flushTiny();
  quiet_ = inputPeak == 0 && outputPeak < 1e-7f;
  bool settled = !gains_[Low].moving() && !gains_[Mid].moving() && !gains_[High].moving();
  if (flatTarget() && settled) {
    if (wet_.target() != 0) wet_.setTarget(0);
    else if (!wet_.moving()) bypassed_ = true;
  }
}

}  // namespace vx::audio::dsp
