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
double chain(std::array<Biquad, N>& sections, double x) {
  for (Biquad& b : sections) x = b.process(x);
  return x;
}

}  // namespace

void ThreeBandEq::prepare(int sampleRate) {
  double rate = std::max(sampleRate, 1000);
  // At low rates the upper crossover stays below the Nyquist frequency.
  double high = std::min(kHighCrossover, 0.4 * rate), low = std::min(kLowCrossover, 0.25 * high);
  for (Channel& c : channels_) {
    for (int i = 0; i < 4; ++i) {
      c.lowPass[static_cast<size_t>(i)] = Biquad::lowPass(low, kQ[i % 2], rate);
      c.highPass[static_cast<size_t>(i)] = Biquad::highPass(high, kQ[i % 2], rate);
    }
    for (int i = 0; i < 2; ++i) {
      c.lowAllPass[static_cast<size_t>(i)] = Biquad::allPass(low, kQ[i], rate);
      c.highAllPass[static_cast<size_t>(i)] = Biquad::allPass(high, kQ[i], rate);
    }
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
    for (Channel& c : channels_) c.clear();
    bypassed_ = false;
  }
  quiet_ = false;
  wet_.setTarget(1);
}

double ThreeBandEq::Channel::run(double x, double gl, double gm, double gh) {
  double lowPre = chain(lowPass, x);
  double rest = chain(lowAllPass, x) - lowPre;
  double high = chain(highPass, rest);
  return chain(highAllPass, gl * lowPre + gm * rest) + (gh - gm) * high;
}

void ThreeBandEq::Channel::clear() {
  for (auto* group : {lowPass.data(), highPass.data()})
    for (int i = 0; i < 4; ++i) group[i].clear();
  for (auto* group : {lowAllPass.data(), highAllPass.data()})
    for (int i = 0; i < 2; ++i) group[i].clear();
}

void ThreeBandEq::Channel::flushTiny() {
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
    for (int c = 0; c < 2; ++c) {
      float x = s[2 * i + c];
      // A sample that is not a number (a damaged file) would stay in the filters for good.
      if (!(std::fabs(x) <= 1e6f)) x = 0;
      double y = channels_[c].run(x, gl, gm, gh);
      float out = static_cast<float>(x + w * (y - x));
      inputPeak = std::max(inputPeak, std::fabs(x));
      outputPeak = std::max(outputPeak, std::fabs(out));
      s[2 * i + c] = out;
    }
  }
  for (Channel& c : channels_) c.flushTiny();
  quiet_ = inputPeak == 0 && outputPeak < 1e-7f;
  bool settled = !gains_[Low].moving() && !gains_[Mid].moving() && !gains_[High].moving();
  if (flatTarget() && settled) {
    if (wet_.target() != 0) wet_.setTarget(0);
    else if (!wet_.moving()) bypassed_ = true;
  }
}

}  // namespace vx::audio::dsp
