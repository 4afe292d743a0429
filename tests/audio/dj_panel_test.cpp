// The DJ panel's sound through the DjMixer port on the virtual device: where the equaliser acts
// (before the fader, on the master and the monitor), bit-exact flat settings, the meters on real
// renders, the headphone cue mix and split cue, and bad input through the whole engine.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using platform::DjMixer;
using testing::Span;
using testing::TempDir;
constexpr int kRate = 44100;
constexpr int kTick = 1323;

class DjPanel : public ::testing::Test {
 protected:
  void SetUp() override { sound = make(out, monitorOut); }
  std::unique_ptr<SoundSystem> make(std::vector<float>& main, std::vector<float>& phones) {
    SoundSystemOptions options;
    options.virtualDevice = true;
    auto s = createSoundSystem(options);
    s->captureVirtual(&main, &phones);
    return s;
  }
  std::string tone(const std::string& name, double hz, double amplitude, double seconds = 6) {
    std::string path = dir.path(name);
    testing::writeWav(path, kRate, 2, testing::sine(hz, amplitude, kRate, static_cast<int>(seconds * kRate)));
    return path;
  }
  // Renders whole ticks; returns the first frame they wrote.
  size_t render(double seconds, SoundSystem* s = nullptr) {
    s = s ? s : sound.get();
    size_t start = out.size() / 2;
    for (int done = 0; done < seconds * kRate; done += kTick) {
      s->renderVirtual(kTick);
      s->deliverEvents();
    }
    return start;
  }
  double level(const std::vector<float>& s, int channel, size_t from, double hz) {
    return testing::decibels(testing::toneAmplitude({s, channel, from, s.size() / 2}, hz, kRate));
  }
  void playMonitor(const std::string& path) {
    auto& m = sound->monitor();
    m.init();
    platform::MonitorInfo info;
    ASSERT_NE(m.open(path, info), 0);
    m.play();
  }
  DjMixer& dj() { return sound->djMixer(); }

  TempDir dir;
  std::vector<float> out, monitorOut;
  std::unique_ptr<SoundSystem> sound;
};

TEST_F(DjPanel, TheEqualiserActsOnTheDecksMasterAndOnTheMonitorPlayingThatDeck) {
  std::string bass = tone("bass.wav", 100, 0.25);
  sound->player(0).setFileName(bass);
  sound->player(0).play();
  sound->player(1).setFileName(tone("mid.wav", 1000, 0.25));
  sound->player(1).play();
  playMonitor(bass);
  dj().setMonitorDeck(0);
  dj().setEq(0, DjMixer::Mid, -260);  // deck A's mid does not touch its bass
  dj().setKill(0, DjMixer::Low, true);
  dj().setKill(1, DjMixer::Mid, false);
  size_t from = render(1.0) + kRate / 2;
  EXPECT_LT(level(out, 0, from, 100), testing::decibels(0.25) - 60);
  EXPECT_NEAR(level(out, 0, from, 1000), testing::decibels(0.25), 0.1) << "deck B keeps its sound";
  EXPECT_LT(level(monitorOut, 0, from, 100), testing::decibels(0.25) - 60) << "the monitor misses the kill";
  // Released, the knob's own setting comes back; the channel fader acts after the equaliser.
  dj().setKill(0, DjMixer::Low, false);
  dj().setEq(0, DjMixer::Low, 60);
  sound->player(0).setVolume(-600);
  from = render(1.0) + kRate / 2;
  EXPECT_NEAR(level(out, 0, from, 100), testing::decibels(0.25) + 6 - 6, 0.5);
}

TEST_F(DjPanel, FlatSettingsPlayEverySampleAsWithoutThePanel) {
  std::vector<float> plainOut, plainMonitor;
  auto plain = make(plainOut, plainMonitor);
  std::string song = tone("song.wav", 440, 0.4);
  for (SoundSystem* s : {sound.get(), plain.get()}) {
    s->player(0).setFileName(song);
    s->player(0).play();
  }
  render(0.1);
  render(0.1, plain.get());
  dj().setEq(0, DjMixer::High, -120);
  dj().setFilter(0, 30);
  render(0.3);
  render(0.3, plain.get());
  dj().setEq(0, DjMixer::High, 0);
  dj().setFilter(0, 0);
  render(1.0);
  render(1.0, plain.get());
  ASSERT_EQ(out.size(), plainOut.size());
  size_t settled = out.size() - static_cast<size_t>(kRate) * 2 / 2;
  EXPECT_TRUE(std::equal(out.begin() + static_cast<long>(settled), out.end(), plainOut.begin() + static_cast<long>(settled)));
}

TEST_F(DjPanel, MetersReadTheRenderedPeakAndTheLampLightsAtFullScale) {
  sound->player(0).setFileName(tone("half.wav", 441, 0.5));
  sound->player(0).play();
  render(0.5);
  EXPECT_NEAR(testing::decibels(dj().meter(0).peak), -6, 0.1);
  EXPECT_NEAR(testing::decibels(dj().meter(DjMixer::kMasterMeter).peak), -6, 0.1);
  EXPECT_FALSE(dj().meter(0).clip);
  EXPECT_FALSE(dj().meter(DjMixer::kMasterMeter).clip);
  EXPECT_EQ(dj().meter(1).peak, 0.0f);

  std::vector<float> square(static_cast<size_t>(kRate) * 2 * 2);
  for (size_t i = 0; i < square.size() / 2; ++i) square[2 * i] = square[2 * i + 1] = (i / 50) % 2 ? 1.0f : -1.0f;
  std::string loud = dir.path("square.wav");
  testing::writeFloatWav(loud, kRate, 2, square);
  sound->player(1).setFileName(loud);
  sound->player(1).play();
  render(0.3);
  EXPECT_TRUE(dj().meter(1).clip);
  EXPECT_TRUE(dj().meter(DjMixer::kMasterMeter).clip);
  EXPECT_GT(dj().meter(DjMixer::kMasterMeter).peak, 1.0f) << "the master is metered before the limiter";
  sound->player(0).stop();
  sound->player(1).stop();
  render(0.8);
  EXPECT_TRUE(dj().meter(1).clip) << "the lamp stays lit a second";
  render(0.3);
  for (int channel = 0; channel < 3; ++channel) {
    EXPECT_FALSE(dj().meter(channel).clip) << channel;
    EXPECT_EQ(dj().meter(channel).peak, 0.0f) << channel;
  }
}

TEST_F(DjPanel, HeadphonesBlendTheMonitorWithTheMasterAndSplitThem) {
  sound->player(0).setFileName(tone("deck.wav", 1000, 0.4));
  sound->player(0).play();
  playMonitor(tone("cue.wav", 660, 0.4));
  const double full = testing::decibels(0.4);
  const double absent = full - 40;  // a fit of the other tone over the window leaks about -50 dB
  size_t from = render(0.5) + kRate / 4;
  EXPECT_NEAR(level(monitorOut, 0, from, 660), full, 0.1);
  EXPECT_LT(level(monitorOut, 0, from, 1000), absent) << "with the knob at CUE only the monitored deck is heard";

  dj().setCueMix(100);
  from = render(0.5) + kRate / 4;
  EXPECT_LT(level(monitorOut, 0, from, 660), absent);
  EXPECT_NEAR(level(monitorOut, 1, from, 1000), full, 0.1);

  dj().setCueMix(50);
  from = render(0.5) + kRate / 4;
  EXPECT_NEAR(level(monitorOut, 0, from, 660), full - 6.02, 0.1);
  EXPECT_NEAR(level(monitorOut, 0, from, 1000), full - 6.02, 0.1);

  dj().setSplitCue(true);
  from = render(0.5) + kRate / 4;
  EXPECT_NEAR(level(monitorOut, 0, from, 660), full, 0.1);
  EXPECT_LT(level(monitorOut, 0, from, 1000), absent);
  EXPECT_NEAR(level(monitorOut, 1, from, 1000), full, 0.1);
  EXPECT_LT(level(monitorOut, 1, from, 660), absent);
  EXPECT_LT(level(out, 0, from, 660), absent) << "the room does not hear the cue";

  // Back at CUE without the split, the master leaves the headphones.
  dj().setSplitCue(false);
  dj().setCueMix(0);
  from = render(0.5) + kRate / 4;
  EXPECT_LT(level(monitorOut, 1, from, 1000), absent);
}

// Both decks at full level with every knob at an end, the filters swept end to end every tick,
// on a mono 8 kHz song and a 96 kHz full-scale square: the output stays a number, bounded by the
// limiter, and falls to exact silence after the songs.
TEST_F(DjPanel, ExtremeSettingsOnOddSongsStayFinite) {
  std::vector<float> mono(8000 * 3);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = static_cast<float>(0.9 * std::sin(2 * M_PI * 60 * i / 8000.0));
  std::string low = dir.path("mono8k.wav");
  testing::writeWav(low, 8000, 1, mono);
  std::vector<float> square(96000 * 3 * 2);
  for (size_t i = 0; i < square.size() / 2; ++i) square[2 * i] = square[2 * i + 1] = (i / 91) % 2 ? 1.0f : -1.0f;
  std::string high = dir.path("square96k.wav");
  testing::writeFloatWav(high, 96000, 2, square);
  sound->player(0).setFileName(low);
  sound->player(1).setFileName(high);
  for (int d = 0; d < 2; ++d) {
    for (int band = 0; band < 3; ++band) dj().setEq(d, band, d == 0 ? 60 : -260);
    sound->player(d).play();
  }
  for (int tick = 0; tick < 3 * kRate / kTick + 40; ++tick) {
    for (int d = 0; d < 2; ++d) dj().setFilter(d, tick % 2 ? 100 : -100);
    sound->renderVirtual(kTick);
    sound->deliverEvents();
  }
  for (float x : out) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 1.0f);
  for (float x : monitorOut) ASSERT_TRUE(std::isfinite(x));
  EXPECT_EQ(testing::peak({out, 0, out.size() / 2 - kTick, out.size() / 2}), 0.0) << "the equaliser rings on";
}

}  // namespace
}  // namespace vx::audio
