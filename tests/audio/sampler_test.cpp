// The sampler's buffers heard on the virtual device: what the device accepts and refuses, exact
// triggers and loops, frequency, volume and pan, 3D placement, several buffers at once.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "audio/sampler/sampler_device.h"
#include "audio/sampler/sampler_space.h"
#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using namespace platform;
using testing::Span;
constexpr int kRate = 44100;

// A value that survives the 16-bit file exactly.
float quantised(float s) { return static_cast<float>(std::lround(s * 32767.0f)) / 32768.0f; }

// Frame i of the mono test sound: a saw of 1000-frame period, every value distinct.
float saw(int i) { return quantised(0.4f * static_cast<float>((i * 7) % 1000 - 500) / 500.0f); }

class Sampler : public ::testing::Test {
 protected:
  void SetUp() override {
    SoundSystemOptions options;
    options.virtualDevice = true;
    sound = createSoundSystem(options);
    sound->captureVirtual(&out, nullptr);
    ASSERT_TRUE(device().create());
  }
  SoundDevice& device() { return sound->soundDevice(); }
  std::string sawFile(const std::string& name, int frames, int channels = 1, int rate = kRate) {
    std::vector<float> v;
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c) v.push_back(c == 0 ? saw(i) : -saw(i));
    std::string path = dir.path(name);
    testing::writeWav(path, rate, channels, v);
    return path;
  }
  std::unique_ptr<SoundBuffer> buffer(const std::string& path, long flags) {
    SoundResult r = kSoundGeneric;
    auto b = device().createBufferFromFile(path, flags, r);
    EXPECT_EQ(r, kSoundOk) << path;
    return b;
  }
  SoundResult refusal(const std::string& path, long flags) {
    SoundResult r = kSoundOk;
    auto b = device().createBufferFromFile(path, flags, r);
    EXPECT_EQ(b, nullptr);
    return r;
  }
  // Renders `frames` and returns the frame where they start in `out`.
  size_t render(int frames) {
    size_t start = out.size() / 2;
    for (int done = 0; done < frames; done += 1323) sound->renderVirtual(std::min(1323, frames - done));
    return start;
  }
  float left(size_t frame) const { return out[2 * frame]; }
  float right(size_t frame) const { return out[2 * frame + 1]; }
  // Frames from `from` up to the last one that is not silent, plus one.
  size_t soundingUntil(size_t from) const {
    size_t last = from;
    for (size_t i = from; i < out.size() / 2; ++i)
      if (left(i) != 0 || right(i) != 0) last = i + 1;
    return last;
  }

  testing::TempDir dir;
  std::unique_ptr<SoundSystem> sound;
  std::vector<float> out;
};

TEST_F(Sampler, BuffersOfTheFourKindsAndTheirRefusals) {
  std::string mono = sawFile("mono.wav", 22050), stereo = sawFile("stereo.wav", 22050, 2);
  std::string shortMono = sawFile("short.wav", kRate / 10);  // 100 ms
  EXPECT_NE(buffer(mono, 0xB0), nullptr);
  EXPECT_NE(buffer(mono, 0x290), nullptr);
  EXPECT_NE(buffer(stereo, 0xE0), nullptr);
  EXPECT_NE(buffer(stereo, 0x2C0), nullptr);
  EXPECT_EQ(refusal(stereo, 0xB0), kSoundInvalidParam);
  EXPECT_EQ(refusal(stereo, 0x290), kSoundInvalidParam);
  EXPECT_EQ(refusal(shortMono, 0x290), kSoundBufferTooSmall);
  EXPECT_EQ(refusal(shortMono, 0x2C0), kSoundBufferTooSmall);
  EXPECT_NE(buffer(shortMono, 0xE0), nullptr);  // no effects: any length
  EXPECT_EQ(refusal(mono, kCtrl3D | kCtrlPan), kSoundInvalidParam);
  EXPECT_EQ(refusal(mono, kCtrlFx | kCtrlFrequency), kSoundInvalidParam);
  EXPECT_EQ(refusal(dir.path("missing.wav"), 0xE0), kSoundBadFormat);
  device().release();
  EXPECT_EQ(refusal(mono, 0xE0), kSoundNoDriver);
}

TEST_F(Sampler, BadFilesAreRefusedOrPlayed) {
  std::vector<float> tone = testing::sine(440, 0.3, 96000, 9600);
  std::vector<float> mono(tone.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = tone[2 * i];
  testing::writeWav(dir.path("empty.wav"), kRate, 1, {});
  testing::writeBytes(dir.path("random.wav"), std::string(5000, '\x5a') + "\x01\x02\x03");
  std::string truncated(1000, '\0');
  {
    testing::writeWav(dir.path("full.wav"), kRate, 1, std::vector<float>(kRate, 0.25f));
    std::ifstream in(dir.path("full.wav"), std::ios::binary);
    in.read(truncated.data(), 1000);
  }
  testing::writeBytes(dir.path("truncated.wav"), truncated);
  testing::writePcmWav(dir.path("8bit.wav"), kRate, 1, 8, mono);
  testing::writePcmWav(dir.path("24bit.wav"), kRate, 1, 24, mono);
  testing::writeFloatWav(dir.path("float.wav"), kRate, 1, mono);
  testing::writeWav(dir.path("96k.wav"), 96000, 1, mono);
  std::vector<float> six;
  for (float s : mono)
    for (int c = 0; c < 6; ++c) six.push_back(s);
  testing::writeWav(dir.path("six.wav"), kRate, 6, six);
  std::vector<float> nan(mono);
  nan[10] = std::nanf("");
  nan[20] = INFINITY;
  testing::writeFloatWav(dir.path("nan.wav"), kRate, 1, nan);

  EXPECT_EQ(refusal(dir.path("empty.wav"), 0xE0), kSoundInvalidParam);
  EXPECT_EQ(refusal(dir.path("random.wav"), 0xE0), kSoundBadFormat);
  EXPECT_EQ(refusal(dir.path("six.wav"), 0xB0), kSoundInvalidParam);  // not mono: no 3D
  for (const char* name : {"truncated.wav", "8bit.wav", "24bit.wav", "float.wav", "96k.wav", "six.wav", "nan.wav"}) {
    auto b = buffer(dir.path(name), 0xE0);
    ASSERT_NE(b, nullptr) << name;
    b->play(0);
    size_t at = render(kRate / 5);
    double peak = testing::peak({out, 0, at, out.size() / 2});
    EXPECT_TRUE(std::isfinite(peak)) << name;
    EXPECT_GT(peak, 0.1) << name;
    EXPECT_LT(peak, 0.5) << name;
  }
  auto b = buffer(dir.path("96k.wav"), 0xE0);
  EXPECT_EQ(b->frequency(), 96000);
}

TEST_F(Sampler, ATriggerStartsAtTheFirstSampleAndRunsToTheEnd) {
  auto b = buffer(sawFile("saw.wav", 3000), 0xE0);
  EXPECT_EQ(b->status(), 0);
  b->setCurrentPosition(0);
  b->play(0);
  EXPECT_EQ(b->status(), kStatusPlaying);
  size_t at = render(4000);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(left(at + i), saw(i)) << i;
    ASSERT_EQ(right(at + i), saw(i)) << i;
  }
  EXPECT_EQ(soundingUntil(at), at + 3000);
  EXPECT_EQ(b->status(), 0);
  EXPECT_EQ(b->currentPosition(), 0);
}

TEST_F(Sampler, ALoopWrapsExactlyAndReportsItself) {
  auto b = buffer(sawFile("saw.wav", 1000), 0xE0);
  b->play(kPlayLooping);
  EXPECT_EQ(b->status(), kStatusPlaying | kStatusLooping);
  size_t at = render(3500);
  for (int i = 0; i < 3500; ++i) ASSERT_EQ(left(at + i), saw(i % 1000)) << i;
  EXPECT_EQ(b->status(), 5);
  b->stop();
  EXPECT_EQ(b->status(), 0);
  at = render(1000);
  EXPECT_LE(soundingUntil(at), at + 64);  // faded out within 64 frames
}

TEST_F(Sampler, PlayGoesOnFromTheCurrentPosition) {
  auto b = buffer(sawFile("saw.wav", 5000), 0xE0);
  b->setCurrentPosition(1234);
  b->play(0);
  size_t at = render(100);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(left(at + i), saw(1234 + i));
  b->stop();
  render(500);
  long stoppedAt = b->currentPosition();
  EXPECT_EQ(stoppedAt, 1334);
  b->play(0);
  at = render(10);
  EXPECT_EQ(left(at), saw(1334));
  EXPECT_EQ(b->setCurrentPosition(5000), kSoundInvalidParam);
}

TEST_F(Sampler, FrequencyChangesTheLength) {
  auto b = buffer(sawFile("saw.wav", 4410), 0xE0);
  EXPECT_EQ(b->frequency(), kRate);
  ASSERT_EQ(b->setFrequency(kRate / 2), kSoundOk);
  b->play(0);
  size_t at = render(10000);
  EXPECT_NEAR(static_cast<double>(soundingUntil(at) - at), 8820, 2);
  ASSERT_EQ(b->setFrequency(kRate * 2), kSoundOk);
  b->setCurrentPosition(0);
  b->play(0);
  at = render(10000);
  EXPECT_NEAR(static_cast<double>(soundingUntil(at) - at), 2205, 2);
  EXPECT_EQ(b->setFrequency(99), kSoundInvalidParam);
  EXPECT_EQ(b->setFrequency(100001), kSoundInvalidParam);
  EXPECT_EQ(b->setFrequency(100000), kSoundOk);
  EXPECT_EQ(b->setFrequency(0), kSoundOk);
  EXPECT_EQ(b->frequency(), kRate);
  auto fx = buffer(sawFile("long.wav", kRate), 0x2C0);
  EXPECT_EQ(fx->setFrequency(22050), kSoundControlUnavailable);
}

TEST_F(Sampler, VolumeAndPanGlideOverABlock) {
  auto b = buffer(sawFile("saw.wav", 1000), 0xE0);
  b->play(kPlayLooping);
  render(1000);
  ASSERT_EQ(b->setVolume(-600), kSoundOk);
  size_t at = render(2000);
  const float g = std::pow(10.0f, -0.3f);
  // Within the first block the level moves only downwards, then it holds at the new gain.
  float previous = 1.0f;
  for (int i = 0; i < 1000; ++i) {
    if (saw(i) == 0) continue;
    float ratio = left(at + i) / saw(i);
    ASSERT_LE(ratio, previous + 1e-6f) << i;
    previous = ratio;
  }
  EXPECT_NEAR(left(at + 1501) / saw(501), g, 1e-5);
  b->setPan(10000);
  at = render(2000);
  EXPECT_EQ(left(at + 1501), 0.0f);
  EXPECT_NEAR(right(at + 1501) / saw(501), g, 1e-5);
  EXPECT_EQ(b->setVolume(1), kSoundInvalidParam);
  EXPECT_EQ(b->setVolume(-10001), kSoundInvalidParam);
  b->setVolume(-10000);
  at = render(2000);
  EXPECT_EQ(testing::peak({out, 1, at + 1323, at + 2000}), 0.0);
}

TEST_F(Sampler, SeveralBuffersSoundAtOnceAndARetriggerDoesNotClick) {
  auto a = buffer(sawFile("a.wav", 1000), 0xE0);
  auto b = buffer(sawFile("b.wav", 3000), 0xE0);
  a->play(kPlayLooping);
  b->play(kPlayLooping);
  size_t at = render(1000);
  for (int i = 0; i < 1000; ++i) ASSERT_NEAR(left(at + i), saw(i) * 2, 1e-6);
  a.reset();  // a released buffer falls silent
  at = render(2000);
  EXPECT_NEAR(left(at + 1000), saw(2000), 1e-6);

  // A sine restarted mid-wave: the old sound fades out while the new one starts at full level.
  std::string path = dir.path("sine.wav");
  std::vector<float> s = testing::sine(441, 0.4, kRate, kRate);
  std::vector<float> mono(s.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = s[2 * i];
  testing::writeWav(path, kRate, 1, mono);
  b.reset();
  auto c = buffer(path, 0xE0);
  c->play(0);
  render(1000 + 25);  // a quarter period in: the wave is at its peak
  c->setCurrentPosition(0);
  c->play(0);
  at = render(1000);
  EXPECT_LT(testing::largestStep({out, 0, at - 1, at + 1000}), 0.1);
}

TEST_F(Sampler, ThreeDPlacementIsHeardAsDistanceSideAndCone) {
  auto b = buffer(sawFile("saw.wav", 1000), 0xB0);
  SoundBuffer3D* space = b->spatial();
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(buffer(sawFile("s.wav", 1000, 2), 0xE0)->spatial(), nullptr);
  b->play(kPlayLooping);
  auto level = [&](int channel) {
    size_t at = render(3000);
    return testing::rms({out, channel, at + 1000, at + 3000});
  };
  double full = level(0);
  EXPECT_NEAR(level(1), full, 1e-6);
  space->setPosition(4, 0, 0);  // four units to the right
  double l = level(0), r = level(1);
  EXPECT_NEAR(r, full / 4, 1e-3 * full);
  EXPECT_LT(l, r / 10);
  space->setPosition(0, 0, 2);  // in front, two units
  EXPECT_NEAR(level(0), full / 2, 1e-3 * full);
  // The cone turned away from the listener: the outside volume applies.
  space->setConeAngles(0, 100);
  space->setConeOutsideVolume(-400);
  space->setConeOrientation(0, 0, 5);
  EXPECT_NEAR(testing::decibels(level(0) / (full / 2)), -4.0, 0.05);
  space->setConeOrientation(0, 0, -5);  // towards the listener
  EXPECT_NEAR(level(0), full / 2, 1e-3 * full);
  EXPECT_EQ(space->setConeAngles(200, 100), kSoundInvalidParam);
}

TEST(SamplerSpace, PadPointsAndConeDirections) {
  Placement p;
  EXPECT_EQ(directionGain(p).left, 1.0f);  // at the listener: both sides full
  p.position = {0, 0, 10};
  EXPECT_FLOAT_EQ(directionGain(p).left, 1.0f);
  EXPECT_FLOAT_EQ(distanceGain(p), 0.1f);
  p.position = {-3, 0, 0};
  EXPECT_FLOAT_EQ(directionGain(p).left, 1.0f);
  EXPECT_NEAR(directionGain(p).right, 0.0f, 1e-6);
  p.position = {0, 0, 0.5f};
  EXPECT_FLOAT_EQ(distanceGain(p), 1.0f);
  // Cone: 0 inside, 100 outside; at 25 degrees off the axis, halfway.
  p.position = {0, 0, 1};
  p.insideAngle = 0;
  p.outsideAngle = 100;
  p.outsideVolume = -400;
  p.orientation = {static_cast<float>(std::sin(25 * 3.14159265 / 180)), 0, -static_cast<float>(std::cos(25 * 3.14159265 / 180))};
  EXPECT_EQ(coneAttenuation(p), -200);
  p.orientation = {1, 0, 0};
  EXPECT_EQ(coneAttenuation(p), -400);
  // Moving a source from left to right turns the right side up monotonically.
  float last = -1;
  for (int x = -10; x <= 10; ++x) {
    p.position = {static_cast<float>(x), 0, 1};
    float r = directionGain(p).right;
    EXPECT_GE(r, last);
    last = r;
  }
}

TEST_F(Sampler, EffectChainsAreSetOnStoppedEffectBuffers) {
  std::string path = sawFile("saw.wav", kRate);
  auto plain = buffer(path, 0xE0);
  std::vector<long> codes;
  EXPECT_EQ(plain->setEffects({"GUID_DSFX_STANDARD_ECHO"}, &codes), kSoundControlUnavailable);
  auto b = buffer(path, 0x290);
  b->play(kPlayLooping);
  EXPECT_EQ(b->setEffects({"GUID_DSFX_STANDARD_ECHO"}, &codes), kSoundInvalidCall);
  b->stop();
  ASSERT_EQ(b->setEffects({"GUID_DSFX_STANDARD_ECHO", "bogus", "GUID_DSFX_STANDARD_GARGLE"}, &codes), kSoundIncomplete);
  EXPECT_EQ(codes, (std::vector<long>{kFxLocSoftware, kFxUnknown, kFxLocSoftware}));
  SoundEffect* echo = b->effect("GUID_DSFX_STANDARD_ECHO", 0, "IID_DirectSoundFXEcho");
  ASSERT_NE(echo, nullptr);
  EXPECT_EQ(b->effect("GUID_DSFX_STANDARD_ECHO", 1, "IID_DirectSoundFXEcho"), nullptr);
  EXPECT_EQ(b->effect("GUID_DSFX_STANDARD_ECHO", 0, "IID_DirectSoundFXGargle"), nullptr);
  EXPECT_EQ(b->effect("GUID_DSFX_STANDARD_CHORUS", 0, "IID_DirectSoundFXChorus"), nullptr);
  EXPECT_NE(b->effect("GUID_DSFX_STANDARD_GARGLE", 0, "IID_DirectSoundFXGargle"), nullptr);
  EXPECT_EQ(std::get<EchoParameters>(echo->parameters()).fLeftDelay, 500);
  EchoParameters wrong;
  wrong.fFeedback = 101;
  EXPECT_EQ(echo->setParameters(wrong), kSoundInvalidParam);
  EXPECT_EQ(echo->setParameters(GargleParameters{}), kSoundInvalidParam);
  ASSERT_EQ(b->setEffects({}, &codes), kSoundOk);
  EXPECT_TRUE(codes.empty());
  EXPECT_EQ(b->effect("GUID_DSFX_STANDARD_ECHO", 0, "IID_DirectSoundFXEcho"), nullptr);
  EXPECT_EQ(echo->setParameters(EchoParameters{}), kSoundOk);  // an old effect object reaches nothing
}

TEST_F(Sampler, AnEchoOnABufferRepeatsAtTheSetDelayAndRingsOn) {
  std::vector<float> click(kRate / 5, 0.0f);
  click[0] = 0.5f;
  std::string path = dir.path("click.wav");
  testing::writeWav(path, kRate, 1, click);
  auto b = buffer(path, 0x2C0);
  ASSERT_EQ(b->setEffects({"GUID_DSFX_STANDARD_ECHO"}, nullptr), kSoundOk);
  EchoParameters p;
  p.fLeftDelay = 300;
  p.fRightDelay = 300;
  p.fFeedback = 0;
  p.fWetDryMix = 50;
  ASSERT_EQ(b->effect("GUID_DSFX_STANDARD_ECHO", 0, "IID_DirectSoundFXEcho")->setParameters(p), kSoundOk);
  b->play(0);
  size_t at = render(kRate);
  float dry = quantised(0.5f) / 2;
  EXPECT_FLOAT_EQ(left(at), dry);
  // The repeat comes after the sound itself ended (200 ms): the effect rings on.
  EXPECT_FLOAT_EQ(left(at + 13230), dry);
  EXPECT_EQ(soundingUntil(at), at + 13231);
  EXPECT_EQ(b->status(), 0);
}

// An echo fed back at full strength rings until the ring limit fades it out, still holding its
// sound. The next trigger from rest sounds exactly as the first: nothing of the old sound comes
// back at the echo's delay.
TEST_F(Sampler, ATriggerFromRestSoundsAsTheFirstOne) {
  auto b = buffer(sawFile("saw.wav", kRate / 5), 0x2C0);
  ASSERT_EQ(b->setEffects({"GUID_DSFX_STANDARD_ECHO"}, nullptr), kSoundOk);
  EchoParameters p;
  p.fLeftDelay = 250.5f;
  p.fRightDelay = 250.5f;
  p.fFeedback = 100;
  ASSERT_EQ(b->effect("GUID_DSFX_STANDARD_ECHO", 0, "IID_DirectSoundFXEcho")->setParameters(p), kSoundOk);
  const int heard = kRate * 3 / 4;
  b->play(0);
  size_t first = render(heard);
  render(kRate * 11);
  size_t rested = render(kRate / 10);
  ASSERT_EQ(soundingUntil(rested), rested) << "the echo has come to rest";
  b->play(0);
  size_t again = render(heard);
  ASSERT_NE(left(first + 11047), 0.0f) << "the first repeat is heard";
  for (size_t i = 0; i < static_cast<size_t>(heard); ++i) {
    ASSERT_EQ(left(again + i), left(first + i)) << i;
    ASSERT_EQ(right(again + i), right(first + i)) << i;
  }
}

TEST_F(Sampler, AReleasedDeviceSilencesItsBuffers) {
  auto b = buffer(sawFile("saw.wav", 1000), 0xE0);
  b->play(kPlayLooping);
  render(1000);
  device().release();
  size_t at = render(1000);
  EXPECT_EQ(testing::peak({out, 0, at, at + 1000}), 0.0);
  EXPECT_EQ(b->status(), 0);
  EXPECT_EQ(b->play(0), kSoundNoDriver);
  b.reset();
  ASSERT_TRUE(device().create());
  auto again = buffer(sawFile("saw2.wav", 1000), 0xE0);
  again->play(0);
  at = render(1000);
  EXPECT_EQ(left(at + 10), saw(10));
}

TEST_F(Sampler, TheVoicesAreUsedAgainAfterRelease) {
  std::string path = sawFile("saw.wav", 1000);
  for (int round = 0; round < 100; ++round) {
    auto b = buffer(path, 0xE0);
    ASSERT_NE(b, nullptr) << round;
    b->play(0);
    render(100);
  }
}

}  // namespace
}  // namespace vx::audio
