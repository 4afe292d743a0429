// Sync with the beat phase heard at the output: two click tracks, their grids from the program's
// own analysis, deck B brought onto deck A by the tempo label's click.
#include <gtest/gtest.h>

#include <cmath>

#include "tempo/tempo_cache.h"
#include "tests/audio/test_media.h"
#include "tests/mixing/mixing_program.h"

namespace vx::test {
namespace {

constexpr int kRate = 44100;

// A click track with its clicks on one channel only, so that each deck is heard apart in the
// mix: a 3 ms Hann-windowed 2 kHz burst every beat from `first` seconds on, over silence.
std::vector<float> clickTrack(double bpm, double first, int channel, double seconds) {
  std::vector<float> v(static_cast<size_t>(seconds * kRate) * 2, 0.0f);
  const double beat = 60.0 / bpm, burst = 0.003;
  for (size_t i = 0; i < v.size() / 2; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double in = std::fmod(t - first + beat, beat);
    if (t < first || in >= burst) continue;
    v[2 * i + static_cast<size_t>(channel)] = static_cast<float>(0.6 * (0.5 - 0.5 * std::cos(2 * M_PI * in / burst)) *
                                                                 std::sin(2 * M_PI * 2000 * in));
  }
  return v;
}

// Seconds (from the start of `s`) at which the channel's clicks first rise over a threshold.
std::vector<double> clickTimes(const std::vector<float>& s, int channel) {
  std::vector<double> at;
  for (size_t i = 0; i < s.size() / 2; ++i) {
    if (std::fabs(s[2 * i + static_cast<size_t>(channel)]) < 0.05) continue;
    at.push_back(static_cast<double>(i) / kRate);
    i += kRate / 10;
  }
  return at;
}

TEST(BeatSync, TwoClickTracksAt120And125AThirdOfABeatApartClickTogetherAfterSync) {
  audio::testing::TempDir dir;
  MixingProgram m{dir.path("home"), nullptr, true};
  m.run("set autoplay2.checked False");
  const std::string a = dir.path("a120.wav"), b = dir.path("b125.wav");
  audio::testing::writeWav(a, kRate, 2, clickTrack(120, 0.0, 0, 40));
  audio::testing::writeWav(b, kRate, 2, clickTrack(125, 0.48 / 3, 1, 40));
  m.run("drop title1(0) " + a);
  m.run("drop title1(1) " + b);
  // The analysis runs beside the program; each tick waits for it.
  for (int i = 0; i < 50; ++i) {
    const auto* ga = tempo::cachedAnalysis(m.p, a);
    const auto* gb = tempo::cachedAnalysis(m.p, b);
    if (ga && gb && ga->beatLength > 0 && gb->beatLength > 0 && m.p.tempo.songBpm[0] > 0 && m.p.tempo.songBpm[1] > 0) break;
    m.tick();
  }
  ASSERT_GT(m.p.tempo.songBpm[1], 0) << "no grid for deck B";
  for (int deck : {0, 1}) {
    m.run("down Pause(" + std::to_string(deck) + ")");
    m.run("up Pause(" + std::to_string(deck) + ")");
    m.tick(17);  // B starts half a second after A, with the clicks a third of a beat apart
  }
  m.run("click bpm(1)");
  ASSERT_NEAR(m.p.player(1).rate() * 125, 120, 0.5) << m.log.str();
  m.tick(5);
  m.out.clear();
  m.tick(400);  // 12 s
  const auto ta = clickTimes(m.out, 0), tb = clickTimes(m.out, 1);
  ASSERT_GE(ta.size(), 20u);
  ASSERT_GE(tb.size(), 20u);
  for (double x : tb) {
    double nearest = 1e9;
    for (double y : ta) nearest = std::min(nearest, std::fabs(x - y));
    EXPECT_LT(nearest, 0.005) << "deck B's click at " << x << " s";
  }
}

}  // namespace
}  // namespace vx::test
