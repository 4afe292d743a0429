// The seven effects as the engine runs them: what each is known to do to a test signal, that
// nothing they make is not a number or runs into denormals, that parameter changes glide, and
// a stored reference of each effect's default sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "audio/sampler/effects/effect.h"
#include "tests/audio/signal_analysis.h"

namespace vx::audio {
namespace {

using namespace platform;
constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Runs `effect` over mono `in` in blocks of 441 frames; `change` (if any) runs before block `at`.
std::vector<float> run(Effect& effect, std::vector<float> in, int at = -1, const EffectParameters* change = nullptr) {
  for (size_t done = 0, block = 0; done < in.size(); ++block) {
    if (change && static_cast<int>(block) == at) effect.setParameters(*change);
    int n = static_cast<int>(std::min<size_t>(441, in.size() - done));
    effect.process(in.data() + done, n);
    done += static_cast<size_t>(n);
  }
  return in;
}

std::unique_ptr<Effect> make(EffectKind kind, const EffectParameters& p) {
  auto e = createEffect(kind);
  e->prepare(kRate, 1);
  e->setParameters(p);
  return e;
}

std::vector<float> sine(double hz, double amplitude, int frames) {
  std::vector<float> v(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) v[static_cast<size_t>(i)] = static_cast<float>(amplitude * std::sin(2 * kPi * hz * i / kRate));
  return v;
}

// Mono samples as the stereo the signal measures expect.
std::vector<float> stereo(const std::vector<float>& mono) {
  std::vector<float> v;
  for (float s : mono) {
    v.push_back(s);
    v.push_back(s);
  }
  return v;
}

double amplitude(const std::vector<float>& mono, double hz, size_t from, size_t to) {
  std::vector<float> s = stereo(mono);
  return testing::toneAmplitude({s, 0, from, to}, hz, kRate);
}

TEST(Effects, EveryClassNameMakesItsEffect) {
  for (int k = 0; k < kEffectKinds; ++k) {
    const EffectClassInfo& info = effectClassInfo(static_cast<EffectKind>(k));
    EXPECT_NE(createEffect(info.classId), nullptr) << info.classId;
    EffectKind kind;
    ASSERT_TRUE(effectKindOf(info.classId, kind));
    EXPECT_EQ(kind, info.kind);
    EXPECT_TRUE(parametersValid(defaultParameters(info.kind), kRate)) << info.classId;
  }
  EXPECT_EQ(createEffect("GUID_DSFX_WAVES_REVERB"), nullptr);
  EXPECT_EQ(createEffect(""), nullptr);
}

TEST(Effects, RecordsOutsideTheirRangesAreInvalid) {
  EchoParameters echo;
  echo.fLeftDelay = 0;
  EXPECT_FALSE(parametersValid(echo, kRate));
  FlangerParameters flanger;
  flanger.fDelay = 5;  // a chorus may, a flanger may not
  EXPECT_FALSE(parametersValid(flanger, kRate));
  ChorusParameters chorus;
  chorus.fDelay = 5;
  EXPECT_TRUE(parametersValid(chorus, kRate));
  CompressorParameters comp;
  comp.fRatio = 0.5f;
  EXPECT_FALSE(parametersValid(comp, kRate));
  GargleParameters gargle;
  gargle.lRateHz = 0;
  EXPECT_FALSE(parametersValid(gargle, kRate));
  ParamEqParameters eq;
  eq.fGain = std::nanf("");
  EXPECT_FALSE(parametersValid(eq, kRate));
}

TEST(Effects, TheEchoRepeatsAtTheSetDelay) {
  EchoParameters p;
  p.fLeftDelay = 250;
  p.fFeedback = 50;
  p.fWetDryMix = 50;
  auto e = make(EffectKind::Echo, p);
  std::vector<float> in(kRate, 0.0f);
  in[0] = 0.8f;
  std::vector<float> out = run(*e, in);
  EXPECT_FLOAT_EQ(out[0], 0.4f);  // the dry half
  for (size_t i = 1; i < out.size(); ++i) {
    if (i == 11025) EXPECT_FLOAT_EQ(out[i], 0.4f);
    else if (i == 22050) EXPECT_FLOAT_EQ(out[i], 0.2f);
    else if (i == 33075) EXPECT_FLOAT_EQ(out[i], 0.1f);
    else ASSERT_EQ(out[i], 0.0f) << i;
  }
}

TEST(Effects, TheEchoCrossesSidesWithPanDelay) {
  auto e = createEffect(EffectKind::Echo);
  e->prepare(kRate, 2);
  EchoParameters p;
  p.fLeftDelay = 10;
  p.fRightDelay = 10;
  p.fWetDryMix = 100;
  p.fFeedback = 100;
  p.lPanDelay = 1;
  e->setParameters(p);
  std::vector<float> s(2 * 2000, 0.0f);
  s[0] = 0.5f;  // left only
  e->process(s.data(), 441);
  e->process(s.data() + 882, 441);
  e->process(s.data() + 1764, 441);
  EXPECT_FLOAT_EQ(s[2 * 441], 0.5f);      // first repeat on the left
  EXPECT_FLOAT_EQ(s[2 * 882 + 1], 0.5f);  // the second one on the right
  EXPECT_EQ(s[2 * 882], 0.0f);
}

TEST(Effects, TheCompressorTakesOffThreeQuartersAboveTheThresholdAtRatioFour) {
  CompressorParameters p;
  p.fRatio = 4;
  p.fThreshold = -20;
  p.fAttack = 1;
  p.fRelease = 3000;
  auto e = make(EffectKind::Compressor, p);
  std::vector<float> in = sine(1000, std::pow(10.0, -8.0 / 20), kRate * 2);
  std::vector<float> out = run(*e, in);
  double gainDb = testing::decibels(amplitude(out, 1000, kRate, 2 * kRate) / amplitude(in, 1000, kRate, 2 * kRate));
  EXPECT_NEAR(gainDb, -12 * 0.75, 0.3);
  // Below the threshold nothing changes.
  auto quiet = make(EffectKind::Compressor, p);
  std::vector<float> low = sine(1000, std::pow(10.0, -30.0 / 20), kRate);
  std::vector<float> lowOut = run(*quiet, low);
  EXPECT_NEAR(testing::decibels(amplitude(lowOut, 1000, kRate / 2, kRate) / amplitude(low, 1000, kRate / 2, kRate)), 0,
              0.05);
}

TEST(Effects, TheEqualiserRaisesItsCentreByItsGain) {
  ParamEqParameters p;
  p.fCenter = 1000;
  p.fBandwidth = 12;
  p.fGain = 12;
  for (float gain : {12.0f, -15.0f}) {
    p.fGain = gain;
    auto e = make(EffectKind::ParamEq, p);
    std::vector<float> in = sine(1000, 0.05, kRate);
    std::vector<float> out = run(*e, in);
    EXPECT_NEAR(testing::decibels(amplitude(out, 1000, kRate / 2, kRate) / 0.05), gain, 0.1);
    auto far = make(EffectKind::ParamEq, p);
    std::vector<float> low = run(*far, sine(60, 0.05, kRate));
    EXPECT_NEAR(testing::decibels(amplitude(low, 60, kRate / 2, kRate) / 0.05), 0, 0.5);
  }
}

TEST(Effects, TheGargleModulatesAtItsRate) {
  for (long shape : {kWaveTriangle, kWaveSquare}) {
    GargleParameters p;
    p.lRateHz = 20;
    p.lWaveShape = shape;
    auto e = make(EffectKind::Gargle, p);
    std::vector<float> out = run(*e, std::vector<float>(kRate, 0.5f));
    for (float& s : out) s -= 0.25f;  // around the mean level
    std::vector<float> s = stereo(out);
    EXPECT_NEAR(testing::frequency({s, 0, 0, s.size() / 2}, kRate), 20.0, 0.05) << shape;
  }
}

TEST(Effects, ModulatedDelaysSweep) {
  // A flanger at full depth sweeps its delay: a steady tone comes out with a moving level.
  FlangerParameters p;
  p.fWetDryMix = 50;
  p.fFeedback = 0;
  p.fFrequency = 2;
  auto e = make(EffectKind::Flanger, p);
  std::vector<float> out = run(*e, sine(2000, 0.3, kRate));
  std::vector<float> s = stereo(out);
  double lowest = 1, highest = 0;
  for (int w = 0; w < 40; ++w) {
    double r = testing::rms({s, 0, static_cast<size_t>(w) * 1102, static_cast<size_t>(w + 1) * 1102});
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  EXPECT_GT(testing::decibels(highest / lowest), 6.0);
}

// Extreme settings on a loud signal: only finite, bounded numbers, and silence decays to zero
// instead of lingering in denormals.
TEST(Effects, ExtremesStayFiniteAndDecayToZero) {
  std::vector<EffectParameters> extremes;
  EchoParameters echo;
  echo.fFeedback = 100;
  echo.fLeftDelay = 1;
  extremes.push_back(echo);
  ChorusParameters chorus;
  chorus.fFeedback = 99;
  chorus.fDepth = 100;
  chorus.fFrequency = 10;
  extremes.push_back(chorus);
  FlangerParameters flanger;
  flanger.fFeedback = -99;
  extremes.push_back(flanger);
  DistortionParameters dist;
  dist.fEdge = 100;
  dist.fGain = 0;
  dist.fPostEQBandwidth = 100;
  extremes.push_back(dist);
  CompressorParameters comp;
  comp.fGain = 60;
  comp.fRatio = 100;
  comp.fThreshold = -60;
  extremes.push_back(comp);
  ParamEqParameters eq;
  eq.fCenter = 16000;
  eq.fGain = 15;
  eq.fBandwidth = 36;
  extremes.push_back(eq);
  GargleParameters gargle;
  gargle.lRateHz = 1000;
  gargle.lWaveShape = kWaveSquare;
  extremes.push_back(gargle);
  for (const EffectParameters& p : extremes) {
    auto e = make(kindOf(p), p);
    std::vector<float> in = sine(5000, 0.9, kRate);
    in.resize(static_cast<size_t>(kRate) * 4, 0.0f);
    std::vector<float> out = run(*e, in);
    for (float s : out) {
      ASSERT_TRUE(std::isfinite(s)) << p.index();
      ASSERT_NE(std::fpclassify(s), FP_SUBNORMAL) << p.index();
      ASSERT_LT(std::fabs(s), 1000.0f) << p.index();
    }
  }
}

// An effect told to forget its sound (a trigger after silence) sounds exactly as one that heard
// only silence: nothing of the earlier sound comes back, from any place of its longest delays,
// at the fractional delays where a read straddles what was heard before.
TEST(Effects, AResetEffectHoldsNothingOfItsEarlierSound) {
  std::vector<EffectParameters> settings;
  EchoParameters echo;
  echo.fLeftDelay = 1999.9f;
  echo.fFeedback = 70;
  settings.push_back(echo);
  echo.fLeftDelay = 333.3f;
  settings.push_back(echo);
  ChorusParameters chorus;
  chorus.fDelay = 15.55f;
  chorus.fFeedback = 60;
  settings.push_back(chorus);
  FlangerParameters flanger;
  flanger.fDelay = 3.33f;
  settings.push_back(flanger);
  CompressorParameters comp;
  comp.fPredelay = 3.7f;
  settings.push_back(comp);
  for (int k = 0; k < kEffectKinds; ++k) settings.push_back(defaultParameters(static_cast<EffectKind>(k)));
  std::vector<float> loud = sine(300, 0.8, 3 * kRate);  // longer than any line: each wraps
  std::vector<float> next = sine(500, 0.5, kRate / 2);
  next.resize(static_cast<size_t>(kRate) * 5 / 2, 0.0f);  // and its tail beyond the longest delay
  for (const EffectParameters& p : settings) {
    auto heard = make(kindOf(p), p), quiet = make(kindOf(p), p);
    run(*heard, loud);
    run(*quiet, std::vector<float>(loud.size(), 0.0f));
    heard->reset();
    quiet->reset();
    std::vector<float> a = run(*heard, next), b = run(*quiet, next);
    for (size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "record " << p.index() << " frame " << i;
  }
}

// A change of level-like parameters mid-sound moves the output by no more than the signal itself
// moves from sample to sample (no click).
TEST(Effects, ParameterChangesGlide) {
  std::vector<std::pair<EffectParameters, EffectParameters>> changes;
  EchoParameters e1, e2;
  e2.fWetDryMix = 100;
  e2.fFeedback = 90;
  e2.fLeftDelay = 520;
  changes.push_back({e1, e2});
  ChorusParameters c1, c2;
  c2.fWetDryMix = 0;
  c2.fDelay = 18;
  changes.push_back({c1, c2});
  DistortionParameters d1, d2;
  d2.fGain = 0;
  d2.fPreLowpassCutoff = 2000;
  changes.push_back({d1, d2});
  CompressorParameters k1, k2;
  k2.fGain = 20;
  changes.push_back({k1, k2});
  ParamEqParameters q1, q2;
  q2.fGain = 15;
  q2.fCenter = 300;
  changes.push_back({q1, q2});
  for (auto& [from, to] : changes) {
    auto still = make(kindOf(from), from);
    auto moved = make(kindOf(from), from);
    std::vector<float> in = sine(200, 0.2, kRate);
    std::vector<float> a = run(*still, in);
    std::vector<float> b = run(*moved, in, 50, &to);
    std::vector<float> sa = stereo(a), sb = stereo(b);
    double steady = std::max(testing::largestStep({sa, 0, 0, sa.size() / 2}),
                             testing::largestStep({sb, 0, 30000, sb.size() / 2}));
    double around = testing::largestStep({sb, 0, 49 * 441, 52 * 441});
    EXPECT_LT(around, steady * 1.5 + 1e-3) << from.index();
  }
}

// Each effect's default sound on a fixed signal, as levels of 30 ms windows, against the levels
// stored when the effect was last deliberately changed. Set VELVOX_WRITE_REFERENCES to a file
// name to write them anew.
TEST(Effects, DefaultsMatchTheStoredReference) {
  std::vector<float> in(static_cast<size_t>(kRate) / 2);
  uint32_t noise = 12345;
  for (size_t i = 0; i < in.size(); ++i) {
    noise = noise * 1664525u + 1013904223u;
    double t = static_cast<double>(i) / kRate;
    double burst = (i % 4410) < 441 ? 0.3 * (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) : 0.0;
    in[i] = static_cast<float>(0.3 * std::sin(2 * kPi * (200 + 4000 * t) * t) + burst);
  }
  std::map<std::string, std::vector<double>> levels;
  for (int k = 0; k < kEffectKinds; ++k) {
    auto kind = static_cast<EffectKind>(k);
    auto e = make(kind, defaultParameters(kind));
    std::vector<float> s = stereo(run(*e, in));
    std::vector<double>& v = levels[effectClassInfo(kind).classId];
    for (size_t w = 0; w + 1323 <= s.size() / 2; w += 1323)
      v.push_back(testing::decibels(std::max(1e-9, testing::rms({s, 0, w, w + 1323}))));
  }
  if (const char* file = std::getenv("VELVOX_WRITE_REFERENCES")) {
    std::ofstream outFile(file);
    for (auto& [name, v] : levels) {
      outFile << name;
      for (double d : v) outFile << ' ' << std::round(d * 100) / 100;
      outFile << '\n';
    }
  }
  std::ifstream ref(std::string(VELVOX_TEST_DATA) + "/effect_references.txt");
  ASSERT_TRUE(ref.good());
  std::string line;
  int checked = 0;
  while (std::getline(ref, line)) {
    std::istringstream words(line);
    std::string name;
    words >> name;
    const std::vector<double>& v = levels.at(name);
    double d;
    for (size_t i = 0; words >> d; ++i) {
      ASSERT_LT(i, v.size());
      EXPECT_NEAR(v[i], d, 0.25) << name << " window " << i;
    }
    ++checked;
  }
  EXPECT_EQ(checked, kEffectKinds);
}

}  // namespace
}  // namespace vx::audio
