// Parts of the engine on their own: MIDI timing, the packet index, the rate converter's
// alignment, the command queue, the gain law.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "audio/decode/midi_timing.h"
#include "audio/decode/packet_index.h"
#include "audio/decode/sound_font.h"
#include "audio/engine/rate_converter.h"
#include "audio/realtime/gain_law.h"
#include "audio/realtime/spsc_queue.h"

namespace vx::audio {
namespace {

std::string smf(const std::string& track, int division = 480) {
  std::string h("MThd\0\0\0\x06\0\0\0\x01", 12);
  h.push_back(static_cast<char>(division >> 8));
  h.push_back(static_cast<char>(division & 0xFF));
  uint32_t n = static_cast<uint32_t>(track.size());
  return h + "MTrk" + std::string{static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
                                  static_cast<char>(n)} + track;
}

TEST(MidiTimingTest, FollowsTempoChangesAndRunningStatus) {
  // 120 bpm for 480 ticks (0.5 s), then 60 bpm for 1440 ticks (3 s); a note off in running status.
  std::string track(
      "\x00\x90\x3C\x64\x83\x60\x3C\x00\x00\xFF\x51\x03\x0F\x42\x40\x87\x40\x90\x3E\x64\x83\x60\xFF\x2F\x00", 25);
  auto timing = MidiTiming::parse(smf(track));
  ASSERT_TRUE(timing);
  EXPECT_EQ(timing->lastTick(), 480 + 960 + 480);
  EXPECT_NEAR(timing->seconds(480), 0.5, 1e-12);
  EXPECT_NEAR(timing->seconds(1440), 2.5, 1e-12);
  EXPECT_NEAR(timing->durationSeconds(), 3.5, 1e-12);
  EXPECT_EQ(timing->tickAt(1.5), 960);
  EXPECT_EQ(timing->tickAt(0.25), 240);
}

TEST(MidiTimingTest, RefusesDamagedFiles) {
  EXPECT_FALSE(MidiTiming::parse(""));
  EXPECT_FALSE(MidiTiming::parse("MThd"));
  EXPECT_FALSE(MidiTiming::parse(smf("", 0)));
  // A track whose data byte comes before any status cannot be read.
  EXPECT_FALSE(MidiTiming::parse(smf(std::string("\x00\x3C\x64", 3))));
  // A length running past the end is cut off there, not read beyond.
  auto cut = MidiTiming::parse(smf(std::string("\x00\x90\x3C\x64\x83\x60\xFF\x01\x7F", 9)));
  EXPECT_TRUE(!cut || cut->lastTick() <= 480);
}

TEST(PacketIndexTest, FindsPacketsByPositionAndTimestamp) {
  PacketIndex index;
  index.add(100, 0, 1152);
  index.add(500, 1152, 1152);
  index.add(900, 2304, 1152);  // three packets sharing one container packet
  index.add(900, 3456, 1152);
  index.add(900, 4608, 1152);
  EXPECT_EQ(index.totalSamples(), 5 * 1152);
  EXPECT_EQ(index.packetAt(0), 0u);
  EXPECT_EQ(index.packetAt(1151), 0u);
  EXPECT_EQ(index.packetAt(1152), 1u);
  EXPECT_EQ(index.packetAt(99999), 4u);
  EXPECT_EQ(index.firstAtSamePosition(4), 2u);
  EXPECT_EQ(index.find(500, -77), 1);  // a lone position is enough, whatever the timestamp says
  EXPECT_EQ(index.find(900, 3456), 3);
  EXPECT_EQ(index.find(900, 1), -1);
  EXPECT_EQ(index.find(901, 3456), -1);
  EXPECT_EQ(index.find(-1, 4608), 4);
}

constexpr RateConverter::Quality kQualities[] = {RateConverter::Quality::Full, RateConverter::Quality::Preview};

TEST(RateConverterTest, StaysAlignedAtRateOneAndKeepsItsStep) {
  for (auto quality : kQualities) {
    RateConverter converter(quality);
    ASSERT_TRUE(converter.ok());
    std::vector<float> in(8000 * 2), out(4000 * 2);
    for (int i = 0; i < 8000; ++i) in[2 * i] = in[2 * i + 1] = i < 3000 ? -0.5f : 0.5f;
    int made = 0, used = 0;
    while (made < 4000) {
      auto r = converter.process(in.data() + 2 * used, std::min(256, 8000 - used), out.data() + 2 * made, 4000 - made, false);
      used += r.used;
      made += r.made;
    }
    // The step from -0.5 to 0.5 stays between frames 2999 and 3000, its middle exactly between.
    EXPECT_LT(out[2 * 2999], 0);
    EXPECT_GT(out[2 * 3000], 0);
    EXPECT_NEAR(out[2 * 2999] + out[2 * 3000], 0, 1e-3);
  }
}

// At step 1 the frames pass untouched; a later step goes on from there as if the converter had
// run all along: no gap, no repeat, no disturbance where it starts, however few frames passed.
TEST(RateConverterTest, PassesFramesAtStepOneAndConvertsSeamlesslyAfterwards) {
  constexpr int kRate = 44100, kAfter = 2000;
  constexpr double kHz = 1000;
  // A tone that rises smoothly from silence, as the converter hears it after a reset.
  auto wave = [&](double frame) {
    double rise = frame < 200 ? std::pow(std::sin(M_PI * frame / 400), 2) : 1.0;
    return 0.5 * rise * std::sin(2 * M_PI * kHz * frame / kRate);
  };
  std::vector<float> in(12000 * 2);
  for (int i = 0; i < 12000; ++i) in[2 * i] = in[2 * i + 1] = static_cast<float>(wave(i));
  // Both qualities: the headphone monitor converts with the cheaper one.
  for (auto quality : kQualities)
    for (int at : {100, 700, 5000}) {
      RateConverter converter(quality);
      std::vector<float> out((at + kAfter) * 2);
      int made = 0, used = 0;
      auto run = [&](int until) {
        while (made < until) {
          auto r = converter.process(in.data() + 2 * used, 256, out.data() + 2 * made, std::min(256, until - made), false);
          used += r.used;
          made += r.made;
        }
      };
      run(at);
      EXPECT_EQ(used, at);
      for (int i = 0; i < at; ++i) ASSERT_EQ(out[2 * i], in[2 * i]) << i;
      converter.setStep(1.07);
      run(at + kAfter);
      double worst = 0;
      for (int j = 0; j < kAfter; ++j) worst = std::max(worst, std::fabs(out[2 * (at + j)] - wave(at + 1.07 * j)));
      EXPECT_LT(worst, 1e-3) << "switched after " << at;
      // Back at step 1 it keeps converting (a switch back would need the converter's own delay).
      converter.setStep(1.0);
      std::vector<float> more(256 * 2);
      auto r = converter.process(in.data() + 2 * used, 256, more.data(), 256, false);
      EXPECT_GT(r.made, 0);
      EXPECT_NEAR(more[0], wave(at + 1.07 * kAfter), 1e-3) << "switched after " << at;
    }
}

TEST(SpscQueueTest, CarriesEverythingInOrderBetweenTwoThreads) {
  SpscQueue<int, 64> queue;
  constexpr int kCount = 200000;
  std::thread producer([&] {
    for (int i = 0; i < kCount; ++i)
      while (!queue.push(i)) std::this_thread::yield();
  });
  int expected = 0, value = 0;
  while (expected < kCount) {
    if (queue.pop(value)) {
      ASSERT_EQ(value, expected++);
    }
  }
  producer.join();
  EXPECT_FALSE(queue.pop(value));
}

TEST(GainLawTest, HundredthsOfADecibel) {
  EXPECT_FLOAT_EQ(gainFromHundredthsDb(0), 1.0f);
  EXPECT_NEAR(gainFromHundredthsDb(-2000), 0.1, 1e-7);
  EXPECT_NEAR(gainFromHundredthsDb(-600), 0.501187, 1e-6);
  EXPECT_EQ(gainFromHundredthsDb(-10000), 0.0f);
  EXPECT_EQ(gainFromHundredthsDb(-20000), 0.0f);
  EXPECT_FLOAT_EQ(gainFromHundredthsDb(500), 1.0f);  // never louder than the recording
  StereoGain right = deckGain(0, 10000, false);
  EXPECT_EQ(right.left, 0.0f);
  EXPECT_EQ(right.right, 1.0f);
  StereoGain muted = deckGain(0, 0, true);
  EXPECT_EQ(muted.left + muted.right, 0.0f);
  EXPECT_FLOAT_EQ(gainFromWaveOut(0xFFFF), 1.0f);
  EXPECT_EQ(gainFromWaveOut(0), 0.0f);
  EXPECT_FLOAT_EQ(gainFromPercent(150), 1.0f);
}

TEST(SoundFontTest, AChosenFontIsUsedAndAMissingOneIsNot) {
  setenv("VELVOX_SOUNDFONT", "/nonexistent/font.sf2", 1);
  std::string found = findSoundFont();
  EXPECT_NE(found, "/nonexistent/font.sf2");
  setenv("VELVOX_SOUNDFONT", "/proc/self/exe", 1);  // any readable file stands in for a font
  EXPECT_EQ(findSoundFont(), "/proc/self/exe");
  unsetenv("VELVOX_SOUNDFONT");
}

}  // namespace
}  // namespace vx::audio
