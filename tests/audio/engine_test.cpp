// The engine heard through the ports on the virtual device: exact jumps, rate, levels, ramps,
// the limit on the sum, and bad input on one deck while the other plays.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/engine/voice_source.h"
#include "audio/realtime/gain_law.h"
#include "audio/sampler/sampler_device.h"
#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::Span;
using testing::TempDir;
constexpr int kRate = 44100;
constexpr int kTick = 1323;  // 30 ms

// Level of step k of the staircase: each step 1000 frames long, all levels distinct.
float stepLevel(int k) { return -0.6f + 0.037f * static_cast<float>(k % 32); }

std::vector<float> staircase(int frames) {
  std::vector<float> v(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) v[2 * i] = v[2 * i + 1] = stepLevel(i / 1000);
  return v;
}

class Engine : public ::testing::Test {
 protected:
  void SetUp() override {
    SoundSystemOptions options;
    options.virtualDevice = true;
    sound = createSoundSystem(options);
    sound->captureVirtual(&out, &monitorOut);
  }
  std::string tone(const std::string& name, double hz, double amplitude, double seconds) {
    std::string path = dir.path(name);
    testing::writeWav(path, kRate, 2, testing::sine(hz, amplitude, kRate, static_cast<int>(seconds * kRate)));
    return path;
  }
  platform::MediaPlayer& deck(int d) { return sound->player(d); }
  // Renders whole ticks and returns the frame where they began in `out`.
  size_t render(int frames) {
    size_t start = out.size() / 2;
    for (int done = 0; done < frames; done += kTick) sound->renderVirtual(std::min(kTick, frames - done));
    sound->deliverEvents();
    return start;
  }
  Span left(size_t from, size_t to) { return {out, 0, from, to}; }

  TempDir dir;
  std::unique_ptr<SoundSystem> sound;
  std::vector<float> out, monitorOut;
};

// The frame (with fraction) where the output first crosses halfway between two levels.
double crossing(const std::vector<float>& s, size_t from, float a, float b) {
  float mid = (a + b) / 2;
  for (size_t i = from + 1; i < s.size() / 2; ++i) {
    float x = s[2 * (i - 1)], y = s[2 * i];
    if ((x - mid) * (y - mid) <= 0 && x != y) return static_cast<double>(i - 1 - from) + (mid - x) / (y - x);
  }
  return -1;
}

TEST_F(Engine, AJumpLandsOnTheExactFramePausedOrPlaying) {
  std::string path = dir.path("stairs.wav");
  testing::writeWav(path, kRate, 2, staircase(kRate * 3));
  deck(0).setFileName(path);
  ASSERT_FALSE(deck(0).openCheck());
  for (int target : {1500, 23456, 50321, 88210}) {
    // From a pause: the next step edge comes exactly (edge - target) frames into the output.
    deck(0).pause();
    deck(0).setCurrentPosition(target / double(kRate));
    deck(0).play();
    size_t at = render(2 * kTick);
    int edge = (target / 1000 + 1) * 1000;
    // (The first 64 frames fade in, and are left out of the search.)
    EXPECT_NEAR(crossing(out, at + 100, stepLevel(target / 1000), stepLevel(target / 1000 + 1)) + 100,
                edge - target - 0.5, 0.05)
        << "paused jump to " << target;
    // While playing: the old place fades out (64 frames), then the new one fades in (64 more), but
    // the new place runs from the moment of the jump.
    deck(0).setCurrentPosition(target / double(kRate));
    at = render(2 * kTick);
    EXPECT_NEAR(crossing(out, at + 200, stepLevel(target / 1000), stepLevel(target / 1000 + 1)) + 200,
                edge - target - 0.5, 0.05)
        << "playing jump to " << target;
  }
}

// The monitor follows the deck by being placed first and started second: a start plays from the
// place just set, from a stop or a pause alike; only a start with no place set since a stop (or
// the end of the file) begins at the file's start.
TEST_F(Engine, TheMonitorStartsWhereItWasPlaced) {
  std::string path = dir.path("stairs.wav");
  testing::writeWav(path, kRate, 2, staircase(kRate * 3));
  auto& monitor = sound->monitor();
  monitor.init();
  platform::MonitorInfo info;
  ASSERT_NE(monitor.open(path, info), 0);
  monitor.play();
  render(2 * kTick);
  for (int target : {23456, 50321}) {
    monitor.stop();
    monitor.setPlaySamples(target);
    monitor.play();
    size_t at = monitorOut.size() / 2;
    render(2 * kTick);
    int edge = (target / 1000 + 1) * 1000;
    EXPECT_NEAR(crossing(monitorOut, at + 100, stepLevel(target / 1000), stepLevel(target / 1000 + 1)) + 100,
                edge - target - 0.5, 0.05)
        << "placed at " << target;
    EXPECT_EQ(monitor.positionSamples(), target + 2 * kTick);
  }
  monitor.stop();
  monitor.play();
  render(kTick);
  EXPECT_EQ(monitor.positionSamples(), kTick);
  monitor.setPlaySamples(3 * kRate - 500);
  render(kTick);
  long state = -1;
  EXPECT_EQ(monitor.getState(state), 0);
  monitor.play();
  render(kTick);
  EXPECT_EQ(monitor.positionSamples(), kTick);
}

TEST_F(Engine, RateChangesSpeedAndPitchTogether) {
  deck(0).setFileName(tone("tone.wav", 1000, 0.5, 4));
  deck(0).setRate(1.2);
  deck(0).play();
  size_t at = render(kRate);
  EXPECT_NEAR(testing::frequency(left(at + 4410, at + kRate), kRate), 1200.0, 0.5);
  EXPECT_NEAR(deck(0).currentPosition(), 1.2, 1e-9);
  // A change while playing glides: no step in the wave, and the new pitch right after.
  deck(0).setRate(0.8);
  at = render(kRate / 2);
  EXPECT_LT(testing::largestStep(left(at - 10, at + 600)), 0.5 * 2 * M_PI * 1200 / kRate * 1.05);
  EXPECT_NEAR(testing::frequency(left(at + 1000, at + kRate / 2), kRate), 800.0, 0.5);
  EXPECT_EQ(deck(0).rate(), 0.8);
  deck(0).setRate(3);
  EXPECT_EQ(deck(0).rate(), 2.0);
}

TEST_F(Engine, LevelsFollowTheDecibelLaw) {
  deck(0).setFileName(tone("tone.wav", 1000, 0.5, 4));
  deck(0).play();
  struct Case {
    long volume, balance;
    double left, right;  // expected gains
  } cases[] = {
      {0, 0, 1, 1},
      {-600, 0, std::pow(10, -0.3), std::pow(10, -0.3)},
      {-2000, 0, 0.1, 0.1},
      {0, 1000, std::pow(10, -0.5), 1},
      {0, -4000, 1, 0.01},
      {-10000, 0, 0, 0},
  };
  for (const Case& c : cases) {
    deck(0).setVolume(c.volume);
    deck(0).setBalance(c.balance);
    size_t at = render(4 * kTick);
    double l = testing::toneAmplitude(left(at + kTick, at + 4 * kTick), 1000, kRate);
    double r = testing::toneAmplitude({out, 1, at + kTick, at + 4 * kTick}, 1000, kRate);
    EXPECT_NEAR(l, 0.5 * c.left, 0.5 * c.left * 0.006 + 1e-6) << c.volume << " " << c.balance;
    EXPECT_NEAR(r, 0.5 * c.right, 0.5 * c.right * 0.006 + 1e-6) << c.volume << " " << c.balance;
  }
  deck(0).setVolume(0);
  deck(0).setBalance(0);
  deck(0).setMute(true);
  size_t at = render(2 * kTick);
  EXPECT_LT(testing::peak(left(at + kTick, at + 2 * kTick)), 1e-6);
  deck(0).setMute(false);
  // The master level scales both channels by their own 16-bit value.
  sound->waveOut().setVolume(0xFFFF8000u);
  at = render(3 * kTick);
  EXPECT_NEAR(testing::toneAmplitude(left(at + kTick, at + 3 * kTick), 1000, kRate), 0.5 * 0x8000 / 65535.0, 1e-3);
  EXPECT_NEAR(testing::toneAmplitude({out, 1, at + kTick, at + 3 * kTick}, 1000, kRate), 0.5, 3e-3);
  EXPECT_EQ(sound->waveOut().getVolume(), 0xFFFF8000u);
}

TEST_F(Engine, MonitorLevelIsAPercentageOfFullScale) {
  auto& monitor = sound->monitor();
  monitor.init();
  platform::MonitorInfo info;
  ASSERT_NE(monitor.open(tone("tone.wav", 660, 0.5, 3), info), 0);
  monitor.play();
  monitor.setVolume(50, 25);
  render(3 * kTick);
  size_t at = monitorOut.size() / 2 - 2 * kTick;
  EXPECT_NEAR(testing::toneAmplitude({monitorOut, 0, at, at + 2 * kTick}, 660, kRate), 0.25, 1e-3);
  EXPECT_NEAR(testing::toneAmplitude({monitorOut, 1, at, at + 2 * kTick}, 660, kRate), 0.125, 1e-3);
  // The monitor is not in the main output.
  EXPECT_LT(testing::peak(left(0, out.size() / 2)), 1e-6);
}

TEST_F(Engine, GainChangesStartsStopsAndJumpsDoNotClick) {
  deck(0).setFileName(tone("tone.wav", 440, 0.5, 10));
  const double sineStep = 0.5 * 2 * M_PI * 440 / kRate;
  // A jump fades over 64 frames: at most 0.5 / 64 added to the wave's own steepest step.
  const double bound = sineStep + 0.5 / 64 + 1e-3;
  deck(0).play();
  size_t begin = render(kTick);
  for (long volume : {-4000L, 0L, -10000L, -300L}) {
    deck(0).setVolume(volume);
    render(kTick);
  }
  deck(0).setMute(true);
  render(kTick);
  deck(0).setMute(false);
  render(kTick);
  deck(0).pause();
  render(kTick);
  deck(0).play();
  render(kTick);
  deck(0).setCurrentPosition(3.3333);
  render(kTick);
  deck(0).stop();
  render(kTick);
  EXPECT_LT(testing::largestStep(left(begin, out.size() / 2)), bound);
  EXPECT_LT(testing::largestStep({out, 1, begin, out.size() / 2}), bound);
}

TEST_F(Engine, TheSumNeverLeavesFullScale) {
  // Two full-scale decks in phase would add up to twice full scale.
  std::string loud = tone("loud.wav", 100, 0.99, 2);
  deck(0).setFileName(loud);
  deck(1).setFileName(loud);
  deck(0).play();
  deck(1).play();
  size_t at = render(kRate);
  double top = testing::peak(left(at, out.size() / 2));
  EXPECT_LT(top, 1.0);
  EXPECT_GT(top, 0.95);
  // Quiet material is left untouched by the limiter.
  deck(1).stop();
  deck(0).setVolume(-1000);
  at = render(4 * kTick);
  EXPECT_NEAR(testing::toneAmplitude(left(at + kTick, at + 4 * kTick), 100, kRate), 0.99 * std::pow(10, -0.5), 1e-3);
}

TEST_F(Engine, SamplesThatAreNotNumbersComeOutAsSilence) {
  std::vector<float> bad = testing::sine(440, 0.5, kRate, kRate);
  for (size_t i = 1000; i < bad.size(); i += 997) bad[i] = (i / 997) % 2 ? std::numeric_limits<float>::quiet_NaN()
                                                                         : std::numeric_limits<float>::infinity();
  std::string path = dir.path("nan.wav");
  testing::writeFloatWav(path, kRate, 2, bad);
  deck(0).setFileName(path);
  ASSERT_FALSE(deck(0).openCheck());
  deck(0).play();
  size_t at = render(kRate / 2);
  EXPECT_LE(testing::peak(left(at, out.size() / 2)), 1.0);
  EXPECT_LE(testing::peak({out, 1, at, out.size() / 2}), 1.0);
}

TEST_F(Engine, BadFilesOnOneDeckLeaveTheOtherPlayingSmoothly) {
  deck(0).setFileName(tone("tone.wav", 440, 0.5, 5));
  deck(0).play();
  size_t begin = render(kTick);
  std::string junk = dir.path("junk.mp3"), empty = dir.path("empty.wav"), cut = dir.path("cut.wav");
  testing::writeBytes(junk, std::string(4000, '\x55'));
  testing::writeBytes(empty, "");
  testing::writeBytes(cut, "RIFF\x24\x10\0\0WAVEfmt ");
  for (const std::string& bad : {junk, empty, cut, dir.path("missing.ogg"), dir.path("")}) {
    deck(1).setFileName(bad);
    EXPECT_TRUE(deck(1).openCheck()) << bad;
    deck(1).play();
    EXPECT_NE(deck(1).playState(), platform::Playing) << bad;
    render(kTick);
  }
  EXPECT_EQ(deck(0).playState(), platform::Playing);
  EXPECT_NEAR(deck(0).currentPosition(), 6.0 * kTick / kRate, 1e-12);
  EXPECT_LT(testing::largestStep(left(begin, out.size() / 2)), 0.5 * 2 * M_PI * 440 / kRate + 1e-3);
  EXPECT_NEAR(testing::toneAmplitude(left(begin + kTick, out.size() / 2), 440, kRate), 0.5, 2e-3);
}

// On a real device the blocks after a jump are rendered before the reader has decoded the new
// place. The old place keeps sounding until the new one is there, then fades over into it:
// no hole of silence, which the headphones would hear on every jog. The reader is held back for
// one block, and for as long as the old place can be held; the new place still runs from the
// moment of the jump.
TEST_F(Engine, AJumpTheReaderHasNotDecodedYetHoldsTheOldPlaceInsteadOfSilence) {
  std::string path = dir.path("stairs.wav");
  testing::writeWav(path, kRate, 2, staircase(kRate * 8));
  deck(0).setFileName(path);
  ASSERT_FALSE(deck(0).openCheck());
  deck(0).play();
  render(kRate / 2);
  constexpr int kBlock = 256;
  for (int behind : {1, 4}) {
    for (double target : {5.0, 1.0, 6.5, 2.25}) {
      size_t at = out.size() / 2;
      sound->holdReader();
      deck(0).setCurrentPosition(target);
      for (int b = 0; b < behind; ++b) sound->renderVirtualUnwaited(kBlock);
      render(4 * kTick);
      // Every step level lies well away from zero, and fades pass zero only for a frame or two.
      int silentRun = 0, longest = 0;
      for (size_t i = at; i < out.size() / 2; ++i) {
        silentRun = std::fabs(out[2 * i]) < 1e-4f ? silentRun + 1 : 0;
        longest = std::max(longest, silentRun);
      }
      EXPECT_LE(longest, 2) << "jump to " << target << ", reader " << behind << " blocks behind";
      EXPECT_NEAR(deck(0).currentPosition(), target + (behind * kBlock + 4.0 * kTick) / kRate, 1e-9)
          << "jump to " << target << ", reader " << behind << " blocks behind";
    }
  }
}

TEST_F(Engine, MidiFilesAreSynthesised) {
  std::string path = dir.path("tune.mid");
  testing::writeMidi(path, 6);
  deck(0).setFileName(path);
  ASSERT_FALSE(deck(0).openCheck());
  EXPECT_NEAR(deck(0).duration(), 3.0, 0.01);
  deck(0).play();
  size_t at = render(kRate / 2);
  EXPECT_GT(testing::rms(left(at, out.size() / 2)), 0.005);
  deck(0).setCurrentPosition(2.75);
  render(kRate / 2);
  sound->deliverEvents();
  EXPECT_EQ(deck(0).playState(), platform::Stopped);
  EXPECT_EQ(deck(0).currentPosition(), 0);
}

TEST_F(Engine, TheEndPointStopsTheDeck) {
  deck(0).setFileName(tone("tone.wav", 440, 0.5, 3));
  deck(0).setSelectionEnd(0.5);
  deck(0).setSelectionStart(0.25);
  deck(0).play();
  render(kRate);
  EXPECT_EQ(deck(0).playState(), platform::Stopped);
  EXPECT_EQ(deck(0).currentPosition(), 0.25);
  deck(0).setSelectionEnd(-1);
  deck(0).play();
  render(kRate);
  EXPECT_EQ(deck(0).playState(), platform::Playing);
}

TEST_F(Engine, SamplerVoicesSoundInTheMainMix) {
  struct Hum : VoiceSource {
    void mixInto(float* out, int frames, int rate) override {
      for (int i = 0; i < 2 * frames; ++i) out[i] += 0.25f;
      seenRate = rate;
    }
    int seenRate = 0;
  } hum;
  auto& sampler = dynamic_cast<SamplerDevice&>(sound->soundDevice());
  ASSERT_TRUE(sampler.create());
  sampler.attach(7, &hum);
  size_t at = render(kTick);
  EXPECT_NEAR(out[2 * (at + 100)], 0.25f, 1e-6);
  EXPECT_EQ(hum.seenRate, kRate);
  sampler.release();
  at = render(kTick);
  EXPECT_EQ(testing::peak(left(at, out.size() / 2)), 0);
}

}  // namespace
}  // namespace vx::audio
