#pragma once
// Small building blocks of the effects: parameter ramps, a delay line, a biquad, a modulator.
// Engine thread, except where a function says it sizes memory (UI thread, before use).
#include <algorithm>
#include <cmath>
#include <vector>

namespace vx::audio::dsp {

constexpr double kPi = 3.14159265358979323846;

// Tiny values that would slow down the arithmetic in a decaying feedback path become zero.
inline float flushDenormal(float x) { return std::fabs(x) < 1e-25f ? 0.0f : x; }

inline float fromDb(float db) { return std::pow(10.0f, db / 20.0f); }

// A value that moves to its target in a straight line over one block.
class Ramp {
 public:
  void jump(float v) { value_ = target_ = v; step_ = 0; }
  void setTarget(float v) { target_ = v; }
  // At the start of a block of `frames`.
  void begin(int frames) { step_ = frames > 0 ? (target_ - value_) / static_cast<float>(frames) : 0; }
  float next() {
    value_ += step_;
    return value_;
  }
  // At the end of the block: lands exactly on the target.
  void end() {
    value_ = target_;
    step_ = 0;
  }
  float value() const { return value_; }
  float target() const { return target_; }
  bool moving() const { return value_ != target_; }

 private:
  float value_ = 0, target_ = 0, step_ = 0;
};

// A circular delay line read at fractional delays (linear interpolation). Clearing it costs
// nothing however long it is: it counts the samples pushed since, and every place older than
// that reads as silence. So an effect may forget its sound on the engine thread at a retrigger
// without zeroing seconds of samples there.
class DelayLine {
 public:
  // UI thread: room for delays up to `maxFrames`.
  void size(int maxFrames) {
    buffer_.assign(static_cast<size_t>(maxFrames) + 4, 0.0f);
    write_ = 0;
    written_ = 0;
  }
  void clear() { written_ = 0; }
  void push(float x) {
    buffer_[write_] = flushDenormal(x);
    if (++write_ == buffer_.size()) write_ = 0;
    if (written_ < buffer_.size()) ++written_;
  }
  // The sample pushed `delay` frames before the last push (0 = the last one).
  float read(double delay) const {
    size_t n = buffer_.size();
    delay = std::clamp(delay, 0.0, static_cast<double>(n - 3));
    auto whole = static_cast<size_t>(delay);
    float frac = static_cast<float>(delay - static_cast<double>(whole));
    size_t i = (write_ + 2 * n - 1 - whole) % n;
    size_t j = (i + n - 1) % n;
    float a = whole < written_ ? buffer_[i] : 0.0f;
    float b = whole + 1 < written_ ? buffer_[j] : 0.0f;
    return a + (b - a) * frac;
  }

 private:
  std::vector<float> buffer_{0, 0, 0, 0};
  size_t write_ = 0;
  size_t written_ = 0;  // pushes since the line was sized or cleared, up to its length
};

// Direct form I biquad with the usual coefficient recipes.
struct Biquad {
  float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  float process(float x) {
    float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = flushDenormal(y);
    return y1;
  }
  void clear() { x1 = x2 = y1 = y2 = 0; }
  void set(double nb0, double nb1, double nb2, double a0, double na1, double na2) {
    b0 = static_cast<float>(nb0 / a0);
    b1 = static_cast<float>(nb1 / a0);
    b2 = static_cast<float>(nb2 / a0);
    a1 = static_cast<float>(na1 / a0);
    a2 = static_cast<float>(na2 / a0);
  }
  void lowPass(double hz, double q, double rate);
  void bandPass(double hz, double q, double rate);  // 0 dB at the centre
  void peaking(double hz, double octaves, double gainDb, double rate);
};

inline void Biquad::lowPass(double hz, double q, double rate) {
  double w = 2 * kPi * std::min(hz, 0.45 * rate) / rate;
  double alpha = std::sin(w) / (2 * q), c = std::cos(w);
  set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}
inline void Biquad::bandPass(double hz, double q, double rate) {
  double w = 2 * kPi * std::min(hz, 0.45 * rate) / rate;
  double alpha = std::sin(w) / (2 * q), c = std::cos(w);
  set(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}
inline void Biquad::peaking(double hz, double octaves, double gainDb, double rate) {
  double w = 2 * kPi * std::min(hz, 0.45 * rate) / rate;
  double a = std::pow(10.0, gainDb / 40.0);
  double alpha = std::sin(w) * std::sinh(std::log(2.0) / 2 * octaves * w / std::sin(w));
  double c = std::cos(w);
  set(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

// A low-frequency oscillator, -1 .. 1, triangle or sine, with a phase in cycles.
class Lfo {
 public:
  float value(double phaseOffset, bool sine) const {
    double ph = phase_ + phaseOffset;
    ph -= std::floor(ph);
    if (sine) return static_cast<float>(std::sin(2 * kPi * ph));
    return static_cast<float>(ph < 0.5 ? 4 * ph - 1 : 3 - 4 * ph);
  }
  void advance(double hz, double rate) {
    phase_ += hz / rate;
    if (phase_ >= 1) phase_ -= std::floor(phase_);
  }
  void reset() { phase_ = 0; }
  double phase() const { return phase_; }

 private:
  double phase_ = 0;
};

}  // namespace vx::audio::dsp
