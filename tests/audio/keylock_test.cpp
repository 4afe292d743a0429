// Key lock heard through the ports on the virtual device: the key stays while the tempo follows the
// rate, time stays exact (length, beats, cue jumps, switching while playing), rate 1 bypasses the
// stretcher bit for bit, and bad input neither crashes nor makes anything but numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "audio/engine/stretch_lane.h"
#include "audio/sound_system.h"
#include "tests/audio/monitor_share_rig.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::Span;
constexpr int kRate = 44100;
constexpr int kTick = 1323;            // 30 ms
constexpr double kMs = kRate / 1000.0;  // frames per millisecond

// A 3 ms burst of 3 kHz under a Hann window at every beat, silence between.
std::vector<float> clickTrack(double bpm, double seconds, int rate = kRate) {
  std::vector<float> v(static_cast<size_t>(seconds * rate) * 2);
  const int burst = static_cast<int>(0.003 * rate);
  for (double t = 0; t * rate + burst < seconds * rate; t += 60.0 / bpm) {
    size_t at = static_cast<size_t>(std::llround(t * rate));
    for (int i = 0; i < burst; ++i) {
      double w = 0.5 - 0.5 * std::cos(2 * M_PI * i / burst);
      v[2 * (at + i)] = v[2 * (at + i) + 1] = static_cast<float>(0.8 * w * std::sin(2 * M_PI * 3000.0 * i / rate));
    }
  }
  return v;
}

// Energy centres of the bursts in the left channel from frame `from` on, in frames after `from`.
std::vector<double> clickCentres(const std::vector<float>& s, size_t from) {
  std::vector<double> centres;
  const size_t frames = s.size() / 2;
  for (size_t i = from; i < frames; ++i) {
    if (std::fabs(s[2 * i]) < 0.2f) continue;
    size_t a = i > 4 * kMs ? i - static_cast<size_t>(4 * kMs) : 0;
    size_t b = std::min(frames, i + static_cast<size_t>(12 * kMs));
    double sum = 0, weighted = 0;
    for (size_t k = a; k < b; ++k) {
      double e = double(s[2 * k]) * s[2 * k];
      sum += e;
      weighted += e * static_cast<double>(k);
    }
    centres.push_back(weighted / sum - static_cast<double>(from));
    i = b + static_cast<size_t>(100 * kMs);
  }
  return centres;
}

class KeyLock : public ::testing::Test {
 protected:
  void SetUp() override {
    SoundSystemOptions options;
    options.virtualDevice = true;
    sound = createSoundSystem(options);
    sound->captureVirtual(&out, &monitorOut);
  }
  std::string write(const std::string& name, const std::vector<float>& stereo, int rate = kRate) {
    std::string path = dir.path(name);
    testing::writeWav(path, rate, 2, stereo);
    return path;
  }
  platform::MediaPlayer& deck(int d) { return sound->player(d); }
  size_t render(int frames) {
    size_t start = out.size() / 2;
    for (int done = 0; done < frames; done += kTick) sound->renderVirtual(std::min(kTick, frames - done));
    sound->deliverEvents();
    return start;
  }
  // Frames from `from` to the last one above `level` in the left channel. A stretched tone's abrupt
  // end fades over some milliseconds around its place: a low level finds the place.
  double soundingFrames(size_t from, float level) {
    for (size_t i = out.size() / 2; i-- > from;)
      if (std::fabs(out[2 * i]) > level) return static_cast<double>(i + 1 - from);
    return 0;
  }
  // Beat centres of a 120 BPM click track heard from `from` at `rate`, checked against the grid
  // whose first beat comes `lead` song seconds after `from`.
  void expectOnTheGrid(size_t from, double rate, size_t beats, double lead = 0) {
    std::vector<double> heard = clickCentres(out, from);
    const double beat = 0.5 * kRate / rate, centre = (lead + 0.0015) * kRate / rate;
    ASSERT_GE(heard.size(), beats);
    for (size_t k = 0; k < heard.size(); ++k) {
      double expected = centre + static_cast<double>(k) * beat;
      ASSERT_NEAR(heard[k], expected, kMs) << "beat " << k << " of " << heard.size();
    }
  }

  testing::TempDir dir;
  std::unique_ptr<SoundSystem> sound;
  std::vector<float> out, monitorOut;
};

TEST_F(KeyLock, AToneKeepsItsPitchAndItsLengthFollowsTheRate) {
  const std::string path = write("a440.wav", testing::sine(440, 0.5, kRate, 10 * kRate));
  deck(0).setFileName(path);
  deck(0).setRate(1.07);
  deck(0).setKeyLock(true);
  deck(0).play();
  size_t at = render(11 * kRate);
  EXPECT_NEAR(testing::typicalFrequency({out, 0, at + kRate, at + 9 * kRate}, kRate), 440.0, 1.0);
  // Over the whole span too: a stretcher that resets its phase now and then adds zero crossings
  // the median of short windows does not see.
  EXPECT_NEAR(testing::frequency({out, 0, at + kRate, at + 9 * kRate}, kRate), 440.0, 0.2);
  EXPECT_NEAR(soundingFrames(at, 0.1f), 10.0 / 1.07 * kRate, 5 * kMs);

  deck(0).setKeyLock(false);
  deck(0).setCurrentPosition(0);
  deck(0).play();
  at = render(11 * kRate);
  EXPECT_NEAR(testing::typicalFrequency({out, 0, at + kRate, at + 9 * kRate}, kRate), 470.8, 1.0);
  EXPECT_NEAR(soundingFrames(at, 0.1f), 10.0 / 1.07 * kRate, 5 * kMs);
}

TEST_F(KeyLock, ClicksKeepTheirTempoAtTheNewRate) {
  deck(0).setFileName(write("clicks.wav", clickTrack(120, 32)));
  deck(0).setRate(0.96);
  deck(0).setKeyLock(true);
  deck(0).play();
  size_t at = render(30 * kRate);
  expectOnTheGrid(at, 0.96, 57);
  EXPECT_NEAR(deck(0).currentPosition(), 30 * 0.96, 1e-6);
}

// Switching on and off while playing moves no beat off the grid and leaves no step in a tone.
TEST_F(KeyLock, SwitchingWhilePlayingNeitherJumpsNorClicks) {
  deck(0).setFileName(write("clicks.wav", clickTrack(120, 20)));
  deck(0).setRate(1.07);
  deck(0).play();
  size_t at = render(4 * kRate + 111);
  // The deck's position goes on through each switch (and through the pitch crossing 0 % with
  // key lock on, which switches the stretcher too), as the sound does.
  double song = (4.0 * kRate + 111) * 1.07 / kRate;
  const auto goesOn = [&](double seconds) {
    render(static_cast<int>(seconds * kRate));
    song += seconds * deck(0).rate();
    EXPECT_NEAR(deck(0).currentPosition(), song, 0.005);
  };
  deck(0).setKeyLock(true);
  goesOn(4);
  deck(0).setKeyLock(false);
  goesOn(4);
  expectOnTheGrid(at, 1.07, 25);
  deck(0).setKeyLock(true);
  deck(0).setRate(1.0);
  goesOn(0.5);
  deck(0).setRate(1.07);
  goesOn(0.5);
  deck(0).stop();

  deck(1).setFileName(write("tone.wav", testing::sine(440, 0.5, kRate, 6 * kRate)));
  deck(1).setRate(1.07);
  deck(1).play();
  render(kRate);
  const double natural = 0.5 * 2 * M_PI * 470.8 / kRate;
  for (bool on : {true, false}) {
    deck(1).setKeyLock(on);
    size_t switched = render(kRate / 2);
    EXPECT_LT(testing::largestStep({out, 0, switched, switched + kRate / 2}), natural * 1.1) << on;
    EXPECT_LT(testing::largestStep({out, 1, switched, switched + kRate / 2}), natural * 1.1) << on;
  }
}

// The pitch swept back and forth while playing: the position reported at each beat heard is the
// beat's own place in the song, however far the rate has moved since the stretcher took it in.
// The stretcher's own placement of a click, off by a fraction of a millisecond, is measured at a
// steady rate first.
TEST_F(KeyLock, ThePositionFollowsTheSongWhileThePitchMoves) {
  deck(0).setFileName(write("clicks.wav", clickTrack(120, 20)));
  deck(0).setRate(1.05);
  deck(0).setKeyLock(true);
  deck(0).play();
  std::vector<std::pair<size_t, double>> reported;  // (output frame, song seconds)
  const int steady = 2 * kRate / 256;
  for (int i = 0; i < 12 * kRate / 256; ++i) {
    // Then 1.01 .. 1.09 and back every 1.5 s, a new rate every 256 frames.
    if (i >= steady) deck(0).setRate(1.05 + 0.04 * std::sin(2 * M_PI * (i - steady) * 256 / (1.5 * kRate)));
    sound->renderVirtual(256);
    sound->deliverEvents();
    reported.emplace_back(out.size() / 2, deck(0).currentPosition());
  }
  std::vector<double> heard = clickCentres(out, 0), off;  // song seconds from each beat's centre
  for (size_t k = 1; k < heard.size(); ++k) {  // beat 0 sounds before the first report
    const double at = heard[k];
    auto after = std::lower_bound(reported.begin(), reported.end(), std::make_pair(static_cast<size_t>(at), 0.0));
    ASSERT_TRUE(after != reported.begin() && after != reported.end());
    auto before = after - 1;
    double t = (at - static_cast<double>(before->first)) / static_cast<double>(after->first - before->first);
    double song = before->second + t * (after->second - before->second);
    off.push_back(song - (std::round((song - 0.0015) / 0.5) * 0.5 + 0.0015));
  }
  ASSERT_GE(off.size(), 20u);
  const double placement = (off[0] + off[1] + off[2]) / 3;  // beats 1 to 3
  EXPECT_LT(std::fabs(placement), 0.001);
  for (size_t k = 4; k < off.size(); ++k) EXPECT_NEAR(off[k], placement, 0.001) << "beat " << k + 1;
}

TEST_F(KeyLock, ACueJumpLandsOnItsBeatWithAndWithoutKeyLock) {
  deck(0).setFileName(write("clicks.wav", clickTrack(120, 20)));
  deck(0).setRate(1.07);
  for (bool on : {false, true}) {
    deck(0).setKeyLock(on);
    // From a pause, then while playing: 0.2 s before beat 7, then 0.3 s before beat 20.
    deck(0).pause();
    deck(0).setCurrentPosition(3.3);
    deck(0).play();
    size_t at = render(kRate / 2);
    expectOnTheGrid(at, 1.07, 1, 0.2);
    deck(0).setCurrentPosition(9.7);
    at = render(kRate);
    expectOnTheGrid(at, 1.07, 2, 0.3);
  }
}

TEST_F(KeyLock, AtRateOneTheSamplesPassUnchanged) {
  std::vector<float> noise(static_cast<size_t>(3 * kRate) * 2);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> level(-0.5f, 0.5f);
  for (float& x : noise) x = level(random);
  deck(0).setFileName(write("noise.wav", noise));
  std::vector<float> runs[2];
  for (bool on : {false, true}) {
    deck(0).setKeyLock(on);
    deck(0).setCurrentPosition(0.5);
    deck(0).play();
    size_t at = render(2 * kRate);
    runs[on].assign(out.begin() + 2 * at, out.end());
    deck(0).pause();
    render(kTick);  // the pause's fade-out
    // Away from 1 and back: the stretcher leaves the path again.
    deck(0).setRate(1.03);
    deck(0).setRate(1.0);
  }
  EXPECT_TRUE(runs[0] == runs[1]);
}

TEST_F(KeyLock, TheMonitorFollowsTheDecksKeyLock) {
  auto& monitor = sound->monitor();
  monitor.init();
  platform::MonitorInfo info;
  ASSERT_NE(monitor.open(write("a440.wav", testing::sine(440, 0.5, kRate, 4 * kRate)), info), 0);
  monitor.setRate(1.07);
  monitor.setKeyLock(true);
  monitor.play();
  render(3 * kRate);
  size_t end = monitorOut.size() / 2;
  EXPECT_NEAR(testing::typicalFrequency({monitorOut, 0, end - 2 * kRate, end}, kRate), 440.0, 1.0);
  EXPECT_TRUE(monitor.keyLock());
}

// The monitor playing the deck's song with it, key lock on both: the headphones get the deck's own
// stretched frames (KeyLockShare below shows that it then stretches nothing itself). Where the two part (the deck jumps alone, the monitor is placed ahead, the deck
// loops), the monitor goes on from its own place without a jump, a gap or a click, and takes the
// deck's frames again once both stand at one place.
TEST_F(KeyLock, TheMonitorTakesTheDecksStretchedFramesWhereTheyAreItsOwn) {
  constexpr int kSong = 48000;
  const std::string song = write("tone48.wav", testing::sine(440, 0.5, kSong, 30 * kSong), kSong);
  auto& monitor = sound->monitor();
  monitor.init();
  platform::MonitorInfo info;
  deck(0).setFileName(song);
  ASSERT_NE(monitor.open(song, info), 0);
  deck(0).setRate(1.07);
  monitor.setRate(1.07);
  deck(0).setKeyLock(true);
  monitor.setKeyLock(true);
  sound->deliverEvents();
  const auto same = [&](size_t from, size_t frames) {
    double worst = 0;
    for (size_t i = 2 * from; i < 2 * (from + frames); ++i) worst = std::max(worst, double(std::fabs(out[i] - monitorOut[i])));
    return worst;
  };
  const auto monitorAt = [&] { return static_cast<double>(monitor.positionSamples()) / kSong; };
  // A jump's fade-out steepens the tone by at most its own slope.
  const double natural = 0.5 * 2 * M_PI * 440 / kRate + 0.5 / 64;
  const auto smooth = [&](size_t from) {
    EXPECT_LT(testing::largestStep({monitorOut, 0, from, monitorOut.size() / 2}), natural * 1.1);
    EXPECT_GT(testing::typicalToneAmplitude({monitorOut, 0, from, monitorOut.size() / 2}, 440, kRate), 0.45);
    size_t quiet = 0, longest = 0;
    for (size_t i = from; i < monitorOut.size() / 2; ++i) longest = std::max(longest, quiet = std::fabs(monitorOut[2 * i]) < 0.01f ? quiet + 1 : 0);
    EXPECT_LT(longest, kMs) << "a gap in the headphones " << longest << " after " << from;
  };

  deck(0).play();
  monitor.play();
  size_t at = render(kRate);
  EXPECT_LT(same(at - kRate / 2, kRate / 2), 1e-6);
  EXPECT_NEAR(monitorAt(), deck(0).currentPosition(), 0.002);

  // The deck jumps alone: the monitor goes on where it was.
  double before = monitorAt();
  deck(0).setCurrentPosition(10);
  at = render(kRate / 2);
  EXPECT_NEAR(monitorAt() - before, 0.5 * 1.07, 0.005);
  smooth(at);
  EXPECT_GT(same(at + kRate / 4, kRate / 4), 0.01) << "the monitor followed the deck's jump";

  // Both move to one place: the monitor takes the deck's frames again.
  deck(0).setCurrentPosition(3);
  monitor.setPlaySamples(3 * kSong);
  at = render(kRate / 2);
  EXPECT_LT(same(at + kRate / 4, kRate / 4), 1e-6);
  smooth(at);

  // Placed a tenth of a second ahead, as after a search step, it plays its own frames from there.
  monitor.setPlaySamples(static_cast<long>((deck(0).currentPosition() + 0.1) * kSong));
  before = monitorAt();
  at = render(kRate / 2);
  EXPECT_NEAR(monitorAt() - before, 0.5 * 1.07, 0.005);
  EXPECT_NEAR(monitorAt() - deck(0).currentPosition(), 0.1, 0.002);
  smooth(at);

  // Both together again, then the deck loops a beat: the monitor plays on past the loop's end.
  deck(0).setCurrentPosition(6);
  monitor.setPlaySamples(6 * kSong);
  render(kRate / 4);
  deck(0).setLoop(static_cast<int64_t>(6.5 * kSong), static_cast<int64_t>(7 * kSong));
  at = render(2 * kRate);
  EXPECT_LT(deck(0).currentPosition(), 7.0);
  EXPECT_GT(monitorAt(), 8.0);
  smooth(at);
}

// Both ends of the knob, a pitch dragged back and forth across 1 every few milliseconds, a song
// of 0.2 s, mono at 8 kHz, and a MIDI song: every sample a number, every song to its end.
TEST_F(KeyLock, BadInputMakesOnlyNumbers) {
  std::vector<float> mono(8000 * 3);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = static_cast<float>(0.9 * std::sin(2 * M_PI * 60 * i / 8000.0));
  const std::string low = dir.path("mono8k.wav");
  testing::writeWav(low, 8000, 1, mono);
  const std::string midi = dir.path("song.mid");
  testing::writeMidi(midi, 4);
  const std::string shortSong = write("short.wav", testing::sine(440, 0.5, kRate, kRate / 5));
  const std::string tone = write("tone.wav", testing::sine(440, 0.9, kRate, 3 * kRate));
  std::mt19937 random(3);
  std::uniform_real_distribution<double> knob(0.5, 2.0);
  for (const std::string& song : {shortSong, low, midi, tone}) {
    for (double rate : {0.5, 2.0, -1.0}) {
      deck(0).setFileName(song);
      ASSERT_FALSE(deck(0).openCheck()) << song;
      deck(0).setKeyLock(true);
      deck(0).setRate(rate > 0 ? rate : 1.0);
      deck(0).play();
      size_t at = out.size() / 2;
      for (int i = 0; i < 8 * kRate / 256 && deck(0).playState() == platform::Playing; ++i) {
        if (rate < 0) deck(0).setRate(i % 3 == 0 ? 1.0 : knob(random));
        if (i % 37 == 0) deck(0).setKeyLock(i % 74 == 0);
        sound->renderVirtual(256);
        sound->deliverEvents();
      }
      EXPECT_NE(deck(0).playState(), platform::Playing) << song << " at " << rate;
      EXPECT_LT(testing::peak({out, 0, at, out.size() / 2}), 1.5) << song << " at " << rate;
      EXPECT_LT(testing::peak({out, 1, at, out.size() / 2}), 1.5) << song << " at " << rate;
    }
  }
}

// The key lock stage on its own, stretching in the caller as on the virtual device: a restart
// forgets everything handed over before it, and the frames taken stand for the converted frames
// handed over, however the rate moved on the way.
TEST(KeyLockLane, ARestartForgetsTheOldStreamAndTheFramesTakenStandForTheInput) {
  auto owned = std::make_unique<StretchLane>();  // its queues are large for a stack
  StretchLane& lane = *owned;
  lane.prepare(kRate);
  const std::vector<float> tone = testing::sine(440, 0.5, kRate, StretchLane::kBlockFrames);
  const std::vector<float> silence(tone.size(), 0.0f);
  std::vector<float> out(2 * 512);
  auto run = [&](const std::vector<float>& block, double rate, int handOver, double& handed, double& taken) {
    handed = taken = 0;
    for (int n = 0; n < 1000 && !lane.drained(); ++n) {
      const double r = rate + 0.05 * std::sin(n / 10.0);  // the pitch moves all the time
      for (int want; (want = lane.inputWanted(r)) > 0 && handed < handOver;) {
        const int frames = std::min<int>({want, StretchLane::kBlockFrames, handOver - static_cast<int>(handed)});
        lane.push(block.data(), frames, r, handed + frames >= handOver);
        handed += frames;
      }
      lane.kick();
      double input = 0;
      const int got = lane.take(out.data(), 512, input);
      taken += input;
      if (&block == &silence) {
        for (int i = 0; i < 2 * got; ++i) ASSERT_EQ(out[static_cast<size_t>(i)], 0.0f) << "the old stream came out";
      }
    }
  };
  double handed = 0, taken = 0;
  lane.restart(1.07);
  run(tone, 1.07, 3 * kRate, handed, taken);  // half-way through, as by a jump
  lane.restart(0.9);
  run(silence, 0.9, 2 * kRate, handed, taken);
  EXPECT_TRUE(lane.drained());
  // The stretcher's last window sounds out past the input's end, by less than its start delay.
  EXPECT_GE(taken, handed - kMs);
  EXPECT_LE(taken, handed + 1024);
}

// The same on the mixers themselves: once the monitor takes the deck's frames its own stretcher
// makes none, and the deck's keeps on.
TEST(KeyLockShare, TheMonitorsStretcherRestsWhileItTakesTheDecksFrames) {
  testing::TempDir dir;
  const std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, 8 * kRate));
  testing::MonitorShareRig rig(song, kRate, 1.07);
  rig.play();
  std::vector<float> a(512), b(512);
  auto second = [&] {
    for (int n = 0; n < kRate / 256; ++n) {
      rig.reader.waitIdle();
      rig.main.render(a.data(), 256);
      rig.phones.render(b.data(), 256);
      ASSERT_EQ(a, b);
    }
  };
  second();
  const uint64_t own = rig.monitorStretched(), decks = rig.main.voice(0).stretchLane().stretchedFrames();
  second();
  EXPECT_EQ(rig.monitorStretched(), own);
  EXPECT_GT(rig.main.voice(0).stretchLane().stretchedFrames(), decks + kRate / 2);
}

}  // namespace
}  // namespace vx::audio
