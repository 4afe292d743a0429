#pragma once
// One second-order section in transposed direct form II for a stereo pair, both channels in one
// vector, in double precision: the crossover's poles sit close to z = 1 at low frequencies and
// high sample rates, where float coefficients would move them enough to spoil the bands' exact
// sum. Designs come from the analogue prototypes by the bilinear transform, pre-warped so that
// `hz` lands where it is asked for.
//
// Threads: design on any thread before use; process() on the engine thread only.
#include <cmath>

namespace vx::audio::dsp {

constexpr double kPi = 3.14159265358979323846;

// Left and right, computed together (one SSE2 register).
using Pair = double __attribute__((vector_size(16)));

// Decayed state would turn subnormal in silence and slow every sample after it.
inline void flushTiny(Pair& v) {
  for (int c = 0; c < 2; ++c)
    if (std::fabs(v[c]) < 1e-15) v[c] = 0;
}

struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  Pair s1 = {0, 0}, s2 = {0, 0};

  Pair process(Pair x) {
    Pair y = b0 * x + s1;
    s1 = b1 * x - a1 * y + s2;
    s2 = b2 * x - a2 * y;
    return y;
  }
  void clear() { s1 = s2 = Pair{0, 0}; }
  void flushTiny() {
    dsp::flushTiny(s1);
    dsp::flushTiny(s2);
  }

  // `hz` must lie below half of `rate`.
  static Biquad lowPass(double hz, double q, double rate) {
    double k = std::tan(kPi * hz / rate), n = 1 / (1 + k / q + k * k);
    return make(k * k * n, 2 * k * k * n, k * k * n, 2 * (k * k - 1) * n, (1 - k / q + k * k) * n);
  }
  static Biquad highPass(double hz, double q, double rate) {
    double k = std::tan(kPi * hz / rate), n = 1 / (1 + k / q + k * k);
    return make(n, -2 * n, n, 2 * (k * k - 1) * n, (1 - k / q + k * k) * n);
  }
  // Unit gain at every frequency; the phase turns through -360 degrees around `hz`.
  static Biquad allPass(double hz, double q, double rate) {
    double k = std::tan(kPi * hz / rate), n = 1 / (1 + k / q + k * k);
    double a1 = 2 * (k * k - 1) * n, a2 = (1 - k / q + k * k) * n;
    return make(a2, a1, 1, a1, a2);
  }

 private:
  static Biquad make(double b0, double b1, double b2, double a1, double a2) {
    Biquad b;
    b.b0 = b0;
    b.b1 = b1;
    b.b2 = b2;
    b.a1 = a1;
    b.a2 = a2;
    return b;
  }
};

}  // namespace vx::audio::dsp
