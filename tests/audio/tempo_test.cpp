#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "audio/analysis/tempo_analyser.h"
#include "audio/analysis/tempo_estimate.h"
#include "audio/decode/decoder.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::TempDir;

constexpr int kRate = 44100;

// Stereo frames of a four-to-the-floor pattern: a falling-pitch kick on every beat, an open
// hat on the off-beat and a quiet bass line, as dance music is built.
std::vector<float> kickPattern(double bpm, double seconds, int rate = kRate) {
  const auto frames = static_cast<size_t>(seconds * rate);
  std::vector<float> out(frames * 2, 0.0f);
  const double period = 60.0 / bpm;
  uint32_t noise = 12345;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double inBeat = std::fmod(t, period);
    double s = 0;
    if (inBeat < 0.15) {
      const double f = 45 + 80 * std::exp(-inBeat * 30);
      s += 0.8 * std::exp(-inBeat * 18) * std::sin(2 * M_PI * f * inBeat);
    }
    const double offBeat = std::fmod(t + period / 2, period);
    noise = noise * 1664525u + 1013904223u;
    if (offBeat < 0.04) s += 0.15 * std::exp(-offBeat * 80) * ((noise >> 8) / double(1 << 24) - 0.5);
    s += 0.1 * std::sin(2 * M_PI * 55 * t);
    out[2 * i] = out[2 * i + 1] = static_cast<float>(s);
  }
  return out;
}

TempoEstimate estimateFile(const std::string& path) {
  auto opened = openDecoder(path);
  if (!opened.decoder) return {};
  return estimateTempo(*opened.decoder, nullptr);
}

TEST(TempoEstimate, KicksAt120And125And174AreFoundWithinHalfABeatPerMinute) {
  TempDir dir;
  for (double bpm : {120.0, 125.0, 174.0}) {
    const auto path = dir.path("kick" + std::to_string(int(bpm)) + ".wav");
    testing::writeWav(path, kRate, 2, kickPattern(bpm, 40));
    const auto found = estimateFile(path);
    EXPECT_NEAR(found.bpm, bpm, 0.5) << "a half or double tempo is as wrong as any other";
  }
}

TEST(TempoEstimate, AnMp3AtAnotherRateKeepsItsTempo) {
  TempDir dir;
  testing::writeWav(dir.path("k.wav"), 48000, 2, kickPattern(128, 30, 48000));
  if (!testing::convert(dir.path("k.wav"), dir.path("k.mp3"))) GTEST_SKIP() << "no ffmpeg";
  const auto found = analyseTempoFile(dir.path("k.mp3"), nullptr);
  EXPECT_NEAR(found.bpm, 128, 0.5);
  EXPECT_NEAR(found.length, 30, 0.1);
}

TEST(TempoEstimate, SoundsWithoutASteadyBeatGiveNoTempo) {
  TempDir dir;
  testing::writeWav(dir.path("silence.wav"), kRate, 2, std::vector<float>(kRate * 2 * 20, 0.0f));
  std::vector<float> noise(kRate * 2 * 20);
  uint32_t x = 1;
  for (auto& s : noise) {
    x = x * 1664525u + 1013904223u;
    s = static_cast<float>((x >> 8) / double(1 << 24) - 0.5);
  }
  testing::writeWav(dir.path("noise.wav"), kRate, 2, noise);
  testing::writeWav(dir.path("short.wav"), kRate, 2, kickPattern(120, 2));
  testing::writeWav(dir.path("tone.wav"), kRate, 2, testing::sine(440, 0.5, kRate, kRate * 20));
  for (const char* name : {"silence.wav", "noise.wav", "short.wav", "tone.wav"})
    EXPECT_EQ(estimateFile(dir.path(name)).bpm, 0) << name;
}

TEST(TempoEstimate, ACancelledEstimateStopsAtOnce) {
  TempDir dir;
  testing::writeWav(dir.path("k.wav"), kRate, 2, kickPattern(120, 20));
  auto opened = openDecoder(dir.path("k.wav"));
  ASSERT_TRUE(opened.decoder);
  std::atomic<bool> cancel{true};
  const auto found = estimateTempo(*opened.decoder, &cancel);
  EXPECT_TRUE(found.cancelled);
  EXPECT_EQ(found.bpm, 0);
}

TEST(TempoAnalyser, AnswersOnDeliveryAndDropsASupersededSong) {
  TempDir dir;
  testing::writeWav(dir.path("a.wav"), kRate, 2, kickPattern(125, 20));
  testing::writeWav(dir.path("b.wav"), kRate, 2, kickPattern(120, 20));
  testing::writeMidi(dir.path("c.mid"), 40);
  TempoAnalyser analyser;
  analyser.analyse(0, dir.path("a.wav"));
  analyser.analyse(0, dir.path("b.wav"));
  analyser.analyse(1, dir.path("c.mid"));
  analyser.analyse(1, dir.path("missing.wav"));
  analyser.waitIdle();
  std::vector<platform::TempoResult> got;
  analyser.deliver([&got](const platform::TempoResult& r) { got.push_back(r); });
  // a.wav may have finished before b.wav was asked for; b.wav's answer comes in any case.
  ASSERT_FALSE(got.empty());
  const auto b = std::find_if(got.begin(), got.end(), [&](const auto& r) { return r.path == dir.path("b.wav"); });
  ASSERT_NE(b, got.end());
  EXPECT_NEAR(b->bpm, 120, 0.5);
  EXPECT_EQ(got.back().path, dir.path("missing.wav"));
  EXPECT_EQ(got.back().bpm, 0);
  got.clear();
  analyser.deliver([&got](const platform::TempoResult& r) { got.push_back(r); });
  EXPECT_TRUE(got.empty());
}

TEST(TempoAnalyser, AMidiFileHasNoTempoToShow) {
  TempDir dir;
  testing::writeMidi(dir.path("c.mid"), 40);
  EXPECT_EQ(analyseTempoFile(dir.path("c.mid"), nullptr).bpm, 0);
}

TEST(SteadyTempo, MissedBeatsStillGiveThePeriodAndScatteredOnesGiveNone) {
  std::vector<double> beats;
  for (int i = 0; i < 40; ++i)
    if (i % 7 != 3) beats.push_back(0.3 + i * 0.48);  // 125 BPM with a few beats missed
  EXPECT_NEAR(steadyTempo(beats, 0.47), 125, 0.01);
  std::vector<double> scattered{0, 0.3, 1.1, 1.3, 2.4, 2.5, 3.9, 4.0, 5.6, 6.9, 7.0, 8.8};
  EXPECT_EQ(steadyTempo(scattered, 0.5), 0);
}

}  // namespace
}  // namespace vx::audio
