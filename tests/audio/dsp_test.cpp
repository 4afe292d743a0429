// The DJ panel's own DSP: the equaliser's response against its design at the bands' middles,
// kills, bit-exact bypass, the filter's -3 dB point, glides without clicks, the meter's reading
// and lamp, and bad input (extreme settings, full-speed sweeps, 8 and 96 kHz, full-scale squares).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "audio/dsp/level_meter.h"
#include "audio/dsp/sweep_filter.h"
#include "audio/dsp/three_band_eq.h"
#include "tests/audio/signal_analysis.h"

namespace vx::audio {
namespace {

using dsp::LevelMeter;
using dsp::SweepFilter;
using dsp::ThreeBandEq;
constexpr int kRate = 44100;
constexpr int kBlock = 256;

double gainOf(double db) { return std::pow(10.0, db / 20.0); }

// Runs `process` over interleaved stereo `s` in blocks; `before(block)` runs before each block.
template <class Dsp, class Before>
void run(Dsp& dsp, std::vector<float>& s, Before before, int block = kBlock) {
  int frames = static_cast<int>(s.size() / 2);
  for (int done = 0, b = 0; done < frames; done += block, ++b) {
    before(b);
    dsp.process(s.data() + 2 * done, std::min(block, frames - done));
  }
}
template <class Dsp>
void run(Dsp& dsp, std::vector<float>& s) {
  run(dsp, s, [](int) {});
}

std::vector<float> tone(double hz, double amplitude, int frames, int rate = kRate) {
  std::vector<float> s(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i)
    s[2 * i] = s[2 * i + 1] = static_cast<float>(amplitude * std::sin(2 * dsp::kPi * hz * i / rate));
  return s;
}

// |H(hz)| from the left channel of an impulse response.
double magnitudeAt(const std::vector<float>& ir, double hz, int rate = kRate) {
  const std::complex<double> turn = std::polar(1.0, -2 * dsp::kPi * hz / rate);
  std::complex<double> sum = 0, phasor = 1;
  for (size_t n = 0; n < ir.size() / 2; ++n, phasor *= turn) sum += static_cast<double>(ir[2 * n]) * phasor;
  return std::abs(sum);
}

// The magnitude response in dB at `hz`, from the impulse response of a settled `dsp`.
template <class Dsp>
double responseDb(Dsp& dsp, double hz, int rate = kRate) {
  std::vector<float> settle(static_cast<size_t>(rate / 10) * 2, 0.0f);
  run(dsp, settle);
  std::vector<float> ir(static_cast<size_t>(rate) * 2, 0.0f);
  ir[0] = ir[1] = 1.0f;
  run(dsp, ir);
  return testing::decibels(magnitudeAt(ir, hz, rate));
}

ThreeBandEq eqWith(int band, double gain, int rate = kRate) {
  ThreeBandEq eq;
  eq.prepare(rate);
  eq.setGain(band, gain);
  return eq;
}

// Each knob at both ends and at the centre: its own band's middle follows the knob, the other two
// stay at 0 dB; a kill takes its band's middle below -60 dB.
TEST(Equaliser, ResponseAtTheBandsMiddlesFollowsTheKnobs) {
  const double middle[3] = {100, 1000, 10000};
  for (int band = 0; band < 3; ++band) {
    for (double db : {-26.0, 0.0, 6.0}) {
      for (int at = 0; at < 3; ++at) {
        ThreeBandEq eq = eqWith(band, gainOf(db));
        double expected = at == band ? db : 0.0;
        EXPECT_NEAR(responseDb(eq, middle[at]), expected, 0.5) << "band " << band << " at " << db << " dB, " << middle[at] << " Hz";
      }
    }
    ThreeBandEq killed = eqWith(band, 0);
    EXPECT_LT(responseDb(killed, middle[band]), -60) << "kill of band " << band;
  }
}

TEST(Equaliser, FlatPassesEverySampleUnchanged) {
  std::vector<float> in(20000);
  uint32_t r = 7;
  for (float& x : in) x = static_cast<float>((r = r * 1664525u + 1013904223u) >> 8) / 8388608.0f - 1.0f;
  ThreeBandEq eq;
  eq.prepare(kRate);
  std::vector<float> out = in;
  run(eq, out);
  EXPECT_EQ(out, in);
  // Turned away and back: once the glide is over the samples pass unchanged again.
  out = in;
  run(eq, out, [&](int b) {
    if (b == 2) eq.setGain(ThreeBandEq::Mid, 0.3);
    if (b == 10) eq.setGain(ThreeBandEq::Mid, 1);
  });
  EXPECT_TRUE(eq.bypassed());
  EXPECT_TRUE(std::equal(out.begin() + 2 * 30 * kBlock, out.end(), in.begin() + 2 * 30 * kBlock));

  SweepFilter filter;
  filter.prepare(kRate);
  out = in;
  run(filter, out, [&](int b) {
    if (b == 2) filter.setPosition(0.5);
    if (b == 10) filter.setPosition(0);
  });
  EXPECT_TRUE(filter.bypassed());
  EXPECT_TRUE(std::equal(out.begin() + 2 * 30 * kBlock, out.end(), in.begin() + 2 * 30 * kBlock));
}

// The frequency where the response crosses -3 dB on the filter's stop-band side.
double cornerHz(double position) {
  SweepFilter filter;
  filter.prepare(kRate);
  filter.setPosition(position);
  std::vector<float> settle(static_cast<size_t>(kRate / 10) * 2, 0.0f);
  run(filter, settle);
  std::vector<float> ir(static_cast<size_t>(kRate / 4) * 2, 0.0f);
  ir[0] = ir[1] = 1.0f;
  run(filter, ir);
  double corner = 0;
  for (double hz = 15; hz < 20000; hz *= 1.02) {
    bool passes = testing::decibels(magnitudeAt(ir, hz)) >= -3;
    if (position < 0 && passes) corner = hz;  // the highest passing frequency
    if (position > 0 && passes && corner == 0) corner = hz;  // the lowest
  }
  return corner;
}

TEST(Filter, CornerMovesMonotonicallyWithTheKnob) {
  double lastLow = 1e9, lastHigh = 0;
  for (int k = 10; k <= 100; k += 10) {
    double low = cornerHz(-k / 100.0), high = cornerHz(k / 100.0);
    EXPECT_LT(low, lastLow) << "low-pass at " << -k;
    EXPECT_GT(high, lastHigh) << "high-pass at " << k;
    lastLow = low;
    lastHigh = high;
  }
  EXPECT_LT(lastLow, 60);
  EXPECT_GT(lastHigh, 8000);
}

// A full-range change inside one block moves the output no more than the louder of the two
// steady sounds moves from sample to sample; for the filter, no more than the tone itself does
// through the resonance the sweep passes (the knob's own sound change).
TEST(Glides, FullRangeStepsWithinOneBlockLeaveNoStep) {
  struct Case {
    const char* what;
    double hz;
    std::function<void(ThreeBandEq&, SweepFilter&, bool after)> set;
    bool sweep = false;
  };
  std::vector<Case> cases = {
      {"mid -26 to +6", 1000, [](ThreeBandEq& e, SweepFilter&, bool after) { e.setGain(1, gainOf(after ? 6 : -26)); }},
      {"low +6 to kill", 100, [](ThreeBandEq& e, SweepFilter&, bool after) { e.setGain(0, after ? 0 : gainOf(6)); }},
      {"high kill to +6", 10000, [](ThreeBandEq& e, SweepFilter&, bool after) { e.setGain(2, after ? gainOf(6) : 0); }},
      {"filter -100 to 100", 1000, [](ThreeBandEq&, SweepFilter& f, bool after) { f.setPosition(after ? 1 : -1); }, true},
      {"filter off to -100", 1000, [](ThreeBandEq&, SweepFilter& f, bool after) { f.setPosition(after ? -1 : 0); }, true},
  };
  for (const Case& c : cases) {
    ThreeBandEq eq;
    SweepFilter filter;
    eq.prepare(kRate);
    filter.prepare(kRate);
    std::vector<float> s = tone(c.hz, 0.5, kRate);
    const int at = 40;
    for (int done = 0, b = 0; done < kRate; done += kBlock, ++b) {
      if (b == 0 || b == at) c.set(eq, filter, b == at);
      int n = std::min(kBlock, kRate - done);
      eq.process(s.data() + 2 * done, n);
      filter.process(s.data() + 2 * done, n);
    }
    size_t change = static_cast<size_t>(at * kBlock);
    double steady = std::max(testing::largestStep({s, 0, change - 4000, change}),
                             testing::largestStep({s, 0, change + 8000, s.size() / 2}));
    double around = testing::largestStep({s, 0, change - 10, change + 4000});
    const double q = SweepFilter::kQ, resonance = q * q / std::sqrt(q * q - 0.25);
    if (c.sweep) steady = 0.5 * 2 * dsp::kPi * c.hz / kRate * resonance;
    EXPECT_LT(around, steady * 1.1 + 1e-4) << c.what;
  }
}

TEST(Meter, ReadsPeakAndLightsTheLampAtFullScale) {
  auto feed = [](LevelMeter& m, const std::vector<float>& s) {
    for (size_t i = 0; i < s.size(); i += 2 * kBlock) {
      int n = static_cast<int>(std::min<size_t>(2 * kBlock, s.size() - i));
      m.update(LevelMeter::largest(s.data() + i, n), n / 2);
    }
  };
  LevelMeter half;
  half.prepare(kRate);
  feed(half, tone(441, gainOf(-6), kRate / 2));
  EXPECT_NEAR(testing::decibels(half.peak()), -6, 0.05);
  EXPECT_FALSE(half.clipped());

  LevelMeter full;
  full.prepare(kRate);
  std::vector<float> square(static_cast<size_t>(kRate), 0.0f);
  for (size_t i = 0; i < square.size(); ++i) square[i] = (i / 100) % 2 ? 1.0f : -1.0f;
  feed(full, square);
  EXPECT_FLOAT_EQ(full.peak(), 1.0f);
  EXPECT_TRUE(full.clipped());
  // Lit for a second after the last full-scale sample, then off; the reading falls to 0 in that time.
  feed(full, std::vector<float>(static_cast<size_t>(kRate * 0.9) * 2, 0.0f));
  EXPECT_TRUE(full.clipped());
  EXPECT_LT(full.peak(), 0.1f);
  feed(full, std::vector<float>(static_cast<size_t>(kRate * 0.15) * 2, 0.0f));
  EXPECT_FALSE(full.clipped());
  EXPECT_EQ(full.peak(), 0.0f);
  EXPECT_FALSE(full.active());
}

// Every knob at its end with a full-scale square, the filter swept end to end every block, at 8
// and 96 kHz: every sample a number within bounds; after the sound, exact silence and no
// subnormal number on the way there.
TEST(BadInput, ExtremesStayFiniteAndFallSilentWithoutSubnormals) {
  for (int rate : {8000, 44100, 96000}) {
    for (double db : {-26.0, 6.0}) {
      ThreeBandEq eq;
      SweepFilter filter;
      eq.prepare(rate);
      filter.prepare(rate);
      for (int band = 0; band < 3; ++band) eq.setGain(band, gainOf(db));
      std::vector<float> s(static_cast<size_t>(rate) * 2, 0.0f);
      for (size_t i = 0; i < s.size() / 2; ++i) s[2 * i] = s[2 * i + 1] = (i / 37) % 2 ? 1.0f : -1.0f;
      s.resize(s.size() * 3, 0.0f);  // two seconds of silence after the square
      int frames = static_cast<int>(s.size() / 2);
      for (int done = 0, b = 0; done < frames; done += kBlock, ++b) {
        if (done < rate) filter.setPosition(b % 2 ? 1 : -1);
        else if (done < rate + kBlock) filter.setPosition(-0.9);
        int n = std::min(kBlock, frames - done);
        eq.process(s.data() + 2 * done, n);
        filter.process(s.data() + 2 * done, n);
      }
      for (float x : s) {
        ASSERT_TRUE(std::isfinite(x)) << rate;
        ASSERT_LT(std::fabs(x), 16.0f) << rate;  // nothing runs away
        ASSERT_NE(std::fpclassify(x), FP_SUBNORMAL) << rate;
      }
      EXPECT_EQ(testing::peak({s, 0, s.size() / 2 - static_cast<size_t>(rate) / 10, s.size() / 2}), 0.0) << rate;
      EXPECT_FALSE(eq.ringing());
      EXPECT_FALSE(filter.ringing());
    }
  }
}

TEST(BadInput, SamplesThatAreNotNumbersDoNotStayInTheFilters) {
  ThreeBandEq eq = eqWith(ThreeBandEq::Low, gainOf(6));
  SweepFilter filter;
  filter.prepare(kRate);
  filter.setPosition(-0.5);
  std::vector<float> s = tone(440, 0.5, kRate);
  s[1000] = std::nanf("");
  s[2001] = INFINITY;
  run(eq, s);
  run(filter, s);
  for (float x : s) ASSERT_TRUE(std::isfinite(x));
}

}  // namespace
}  // namespace vx::audio
