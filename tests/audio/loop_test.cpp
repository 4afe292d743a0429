// Loops and hot-cue jumps heard through the deck port on the virtual device: exact lengths,
// seamless wraps, the position inside the loop, and a cue stored as a sample landing on it.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::Span;
constexpr int kRate = 44100;
constexpr int kTick = 1323;  // 30 ms
constexpr int kBeat = kRate / 2;  // 120 BPM

// A 120 BPM click track over a steady 100 Hz tone (whole periods per beat): each click a 2 ms
// Hann-windowed 2 kHz burst whose level tells its beat apart, so its echo can be found.
std::vector<float> clickTrack(int beats, int beatFrames, int offset = 0) {
  std::vector<float> v(static_cast<size_t>(beats) * beatFrames * 2);
  const int burst = kRate / 500;
  for (size_t i = 0; i < v.size() / 2; ++i) {
    double t = static_cast<double>(i) / kRate;
    float x = static_cast<float>(0.1 * std::sin(2 * M_PI * 100 * t));
    long rel = static_cast<long>(i) - offset;
    if (rel >= 0 && rel % beatFrames < burst) {
      double w = 0.5 - 0.5 * std::cos(2 * M_PI * (rel % beatFrames) / burst);
      x += static_cast<float>((0.2 + 0.05 * ((rel / beatFrames) % 8)) * w * std::sin(2 * M_PI * 2000 * t));
    }
    v[2 * i] = v[2 * i + 1] = x;
  }
  return v;
}

struct Click {
  double frame;  // where the signal first rises over the threshold
  double peak;   // the burst's largest sample, which tells the beats apart
};

// The clicks of a click track from frame `from` on.
std::vector<Click> clicks(const std::vector<float>& s, size_t from) {
  std::vector<Click> found;
  for (size_t i = from; i + 200 < s.size() / 2; ++i) {
    if (std::fabs(s[2 * i]) < 0.2) continue;
    found.push_back({static_cast<double>(i), testing::peak({s, 0, i, i + 200})});
    i += kBeat / 2;
  }
  return found;
}

class Loops : public ::testing::Test {
 protected:
  void SetUp() override {
    SoundSystemOptions options;
    options.virtualDevice = true;
    sound = createSoundSystem(options);
    sound->captureVirtual(&out, &monitorOut);
  }
  platform::MediaPlayer& deck() { return sound->player(0); }
  size_t render(int frames) {
    size_t start = out.size() / 2;
    for (int done = 0; done < frames; done += kTick) sound->renderVirtual(std::min(kTick, frames - done));
    sound->deliverEvents();
    return start;
  }
  std::string write(const std::string& name, const std::vector<float>& frames) {
    std::string path = dir.path(name);
    testing::writeFloatWav(path, kRate, 2, frames);
    return path;
  }
  testing::TempDir dir;
  std::unique_ptr<SoundSystem> sound;
  std::vector<float> out, monitorOut;
};

TEST_F(Loops, AFourBeatLoopLastsTwoSecondsAndWrapsSeamlessly) {
  std::vector<float> track = clickTrack(16, kBeat);
  deck().setFileName(write("clicks.wav", track));
  ASSERT_FALSE(deck().openCheck());
  deck().setCurrentPosition(0.25);
  deck().play();
  render(kTick);
  // Set while playing, ahead of the play head: the voice goes on without a jump.
  deck().setLoop(2 * kBeat, 6 * kBeat);
  size_t at = render(5 * kRate);
  // The loop's first click (beat 2) comes back every 2.000 s, to a frame.
  const Click loopStart = clicks(track, 2 * kBeat - 10).front();
  const double loopStartPeak = loopStart.peak;
  const size_t rise = static_cast<size_t>(loopStart.frame) - 2 * kBeat;  // the burst's start to the detection
  std::vector<double> starts;
  for (const Click& c : clicks(out, at))
    if (std::fabs(c.peak - loopStartPeak) < 0.01) starts.push_back(c.frame);
  ASSERT_GE(starts.size(), 2u);
  for (size_t k = 1; k < starts.size(); ++k) EXPECT_NEAR(starts[k] - starts[k - 1], 4 * kBeat, 1.0);
  // The tone goes through every wrap (and its crossfade) without a step beyond its own slope.
  double slope = 0.1 * 2 * M_PI * 100 / kRate;
  for (double s : starts) {
    size_t wrap = static_cast<size_t>(s) - rise;
    EXPECT_LT(testing::largestStep({out, 0, wrap - 2000, wrap + 1}), slope * 1.2);
  }
  // The position reads the real place inside the loop.
  double position = deck().currentPosition();
  EXPECT_GE(position, 1.0);
  EXPECT_LT(position, 3.0);
  deck().setLoop(-1, -1);
  EXPECT_EQ(deck().loopIn(), -1);
  render(4 * kRate);
  EXPECT_GT(deck().currentPosition(), 4.0) << "after the exit the song plays on";
}

TEST_F(Loops, AWrapOnASteadyToneAtAnyPlaceDoesNotClick) {
  // Loop points far from whole periods of the tone: only the crossfade keeps the wave smooth.
  deck().setFileName(write("tone.wav", testing::sine(1000, 0.5, kRate, 3 * kRate)));
  deck().setLoop(10007, 30011);
  deck().setCurrentPosition(20000.0 / kRate);
  deck().play();
  size_t at = render(kRate);
  EXPECT_LT(testing::largestStep({out, 0, at + 200, at + kRate}), 0.5 * 2 * M_PI * 1000 / kRate * 1.1);
  double position = deck().currentPosition() * kRate;
  EXPECT_GE(position, 10007);
  EXPECT_LT(position, 30011);
  // Exact to the frame: after whole loops the play head is where whole frames put it.
  double expected = 10007 + std::fmod(20000.0 + kRate - 10007, 30011 - 10007);
  EXPECT_NEAR(position, expected, 1e-6);
}

TEST_F(Loops, ALoopSetBehindThePlayHeadJumpsToItsStartAndTinyLoopsPlay) {
  deck().setFileName(write("tone.wav", testing::sine(440, 0.5, kRate, 3 * kRate)));
  deck().play();
  render(kRate);
  // LOOP OUT at the play head: the loop closes there and the deck goes back to its start.
  int64_t now = std::llround(deck().currentPosition() * kRate);
  deck().setLoop(kRate / 2, now);
  EXPECT_NEAR(deck().currentPosition(), 0.5, 1.0 / kRate);
  render(kRate);
  EXPECT_GE(deck().currentPosition(), 0.5);
  EXPECT_LT(deck().currentPosition(), now / double(kRate));
  // A loop of a millisecond still plays, and stays where it is.
  deck().setLoop(kRate, kRate + 44);
  size_t at = render(kRate / 2);
  EXPECT_GE(deck().currentPosition() * kRate, kRate - 1e-6);
  EXPECT_LT(deck().currentPosition() * kRate, kRate + 44);
  EXPECT_GT(testing::rms({out, 0, at + kRate / 4, at + kRate / 2}), 0.0);
  // Out before in, or past the end: no loop.
  deck().setLoop(5000, 4000);
  EXPECT_EQ(deck().loopIn(), -1);
  deck().setLoop(1000, 10 * kRate);
  EXPECT_EQ(deck().loopIn(), -1);
}

// EXIT at or near a wrap, on either side of it and inside its crossfade, at rate 1 and through
// the rate converter (which reads ahead across the wrap): the play head then goes on from where
// the sound is. A ramp tells each frame's number by its level.
TEST_F(Loops, AnExitAtAWrapLeavesThePositionWithTheSound) {
  const int frames = 3 * kRate;
  std::vector<float> ramp(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) ramp[2 * i] = ramp[2 * i + 1] = -0.9f + 1.8f * static_cast<float>(i) / frames;
  auto frameOf = [&](float level) { return (level + 0.9) / 1.8 * frames; };
  deck().setFileName(write("ramp.wav", ramp));
  const int64_t in = kRate / 2, end = kRate;
  for (double rate : {1.0, 1.05, 0.9}) {
    for (int fromWrap : {-700, -300, -1, 0, 1, 40, 700}) {
      deck().pause();
      deck().setRate(rate);
      deck().setCurrentPosition(0.25);
      deck().setLoop(in, end);
      deck().play();
      render(kRate);  // a wrap, on to 0.25 s inside the loop
      render(static_cast<int>(std::lround((end - deck().currentPosition() * kRate) / rate)) + fromWrap);
      deck().setLoop(-1, -1);
      size_t at = render(kRate / 4);
      const double heard = frameOf(out[out.size() - 2]) + 1;
      EXPECT_NEAR(deck().currentPosition() * kRate, heard, 2.0) << fromWrap << " frames from the wrap at rate " << rate;
      // No jump in the sound either: a wrap's crossfade moves the ramp by 0.001 a frame at most.
      EXPECT_LT(testing::largestStep({out, 0, at, out.size() / 2}), 0.003) << fromWrap << " at rate " << rate;
    }
  }
}

// A hot cue is a sample number: read from the playing deck, it is a whole sample, and a jump to
// it lands on that very sample of a staircase, playing or paused.
TEST_F(Loops, AHotCueJumpsBackToItsExactSample) {
  std::vector<float> stairs(static_cast<size_t>(3 * kRate) * 2);
  for (size_t i = 0; i < stairs.size() / 2; ++i) stairs[2 * i] = stairs[2 * i + 1] = -0.6f + 0.037f * static_cast<float>((i / 1000) % 32);
  deck().setFileName(write("stairs.wav", stairs));
  deck().setCurrentPosition(0.3);
  deck().play();
  render(7 * kTick + 17);
  double cue = deck().currentPosition() * kRate;
  ASSERT_NEAR(cue, std::round(cue), 1e-6);
  int64_t sample = std::llround(cue);
  auto edgeAfterJump = [&](bool playing) {
    if (!playing) deck().pause();
    deck().setCurrentPosition(static_cast<double>(sample) / kRate);
    EXPECT_EQ(std::llround(deck().currentPosition() * kRate), sample);
    if (!playing) deck().play();
    size_t at = render(2 * kTick) + 300;
    float from = stairs[2 * static_cast<size_t>(sample)], to = stairs[2 * static_cast<size_t>((sample / 1000 + 1) * 1000)];
    for (size_t i = at; i < out.size() / 2; ++i) {
      if ((out[2 * i - 2] - (from + to) / 2) * (out[2 * i] - (from + to) / 2) <= 0 && out[2 * i] != out[2 * i - 2])
        return static_cast<double>(i - at + 300);
    }
    return -1.0;
  };
  int64_t edge = (sample / 1000 + 1) * 1000 - sample;
  for (bool playing : {true, false}) {
    render(3 * kTick);
    EXPECT_NEAR(edgeAfterJump(playing), static_cast<double>(edge), 1.0) << (playing ? "playing" : "paused");
  }
}

}  // namespace
}  // namespace vx::audio
