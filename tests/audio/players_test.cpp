// The deck and monitor players behind the ports, on the virtual device.
#include <gtest/gtest.h>

#include <vector>

#include "audio/sound_system.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::TempDir;

struct Recorder : platform::MediaPlayerListener {
  std::vector<std::string> seen;
  void endOfStream(int deck, long) override { seen.push_back("end " + std::to_string(deck)); }
  void playStateChange(int deck, int o, int n) override {
    seen.push_back("state " + std::to_string(deck) + " " + std::to_string(o) + ">" + std::to_string(n));
  }
  void positionChange(int deck, double, double n) override {
    seen.push_back("pos " + std::to_string(deck) + " " + std::to_string(n));
  }
};

class Players : public ::testing::Test {
 protected:
  void SetUp() override {
    SoundSystemOptions options;
    options.virtualDevice = true;
    system = createSoundSystem(options);
    song = dir.path("two.wav");
    testing::writeWav(song, 44100, 2, testing::sine(440, 0.5, 44100, 88200));
  }
  TempDir dir;
  std::string song;
  std::unique_ptr<SoundSystem> system;
};

TEST_F(Players, PositionCountsWholeTicksExactly) {
  auto& deck = system->player(0);
  deck.setFileName(song);
  ASSERT_FALSE(deck.openCheck());
  EXPECT_DOUBLE_EQ(deck.duration(), 2.0);
  deck.play();
  for (int n = 1; n <= 40; ++n) {
    system->renderVirtual(1323);
    ASSERT_EQ(deck.currentPosition(), n * 1323 / 44100.0) << n;
  }
  deck.setCurrentPosition(0.777);
  EXPECT_EQ(deck.currentPosition(), 0.777);
  deck.setRate(1.5);
  system->renderVirtual(4410);
  EXPECT_NEAR(deck.currentPosition(), 0.777 + 0.15, 1e-9);
}

// What the UI asks for is reported inside the call; what the engine does by itself (the end of
// the song) waits for the delivery on the UI thread.
TEST_F(Players, StatesAndEventsReachTheListenerOnDelivery) {
  Recorder heard;
  auto& deck = system->player(1);
  deck.setListener(&heard);
  deck.setFileName(song);
  deck.play();
  deck.pause();
  EXPECT_EQ(deck.playState(), platform::Paused);
  deck.setCurrentPosition(1.9);
  EXPECT_EQ(heard.seen.size(), 3u);
  deck.play();
  system->renderVirtual(44100 / 5);
  EXPECT_EQ(heard.seen.size(), 4u);
  system->deliverEvents();
  EXPECT_EQ(deck.playState(), platform::Stopped);
  EXPECT_EQ(deck.currentPosition(), 0);
  std::vector<std::string> expected = {"state 1 0>2", "state 1 2>1", "pos 1 1.900000", "state 1 1>2",
                                       "state 1 2>0", "end 1"};
  EXPECT_EQ(heard.seen, expected);
}

TEST_F(Players, BadFilesFailTheOpenCheckOfTheirDeckOnly) {
  std::string empty = dir.path("empty.mp3"), junk = dir.path("junk.wav"), text = dir.path("notes.mp3");
  testing::writeBytes(empty, "");
  testing::writeBytes(junk, std::string("RIFF\x10\0\0\0WAVEfmt ", 16) + std::string(200, '\x7f'));
  testing::writeBytes(text, "this is not music at all, just a few words of text\n");
  auto& other = system->player(0);
  other.setFileName(song);
  other.play();
  for (const std::string& bad : {empty, junk, text, dir.path("missing.mp3")}) {
    system->player(1).setFileName(bad);
    EXPECT_TRUE(system->player(1).openCheck()) << bad;
  }
  system->renderVirtual(1323);
  EXPECT_EQ(other.playState(), platform::Playing);
  EXPECT_FALSE(other.openCheck());
}

TEST_F(Players, MonitorKeepsItsOwnClockInFileSamples) {
  auto& monitor = system->monitor();
  ASSERT_TRUE(monitor.init());
  platform::MonitorInfo info;
  ASSERT_NE(monitor.open(song, info), 0);
  EXPECT_EQ(info.sampleRate, 44100);
  monitor.play();
  monitor.setPitch(200);
  system->renderVirtual(1000);
  EXPECT_EQ(monitor.positionSamples(), 2000);
  monitor.pause();
  long state = -1;
  EXPECT_EQ(monitor.getState(state), 2);
  EXPECT_EQ(state, 2);
  system->renderVirtual(1000);
  EXPECT_EQ(monitor.positionSamples(), 2000);
  platform::MonitorInfo untouched;
  EXPECT_EQ(monitor.open(dir.path("missing.mp3"), untouched), 0);
  EXPECT_EQ(untouched.sampleRate, 0);
}

TEST_F(Players, MasterLevelReadsBackAsSet) {
  auto& out = system->waveOut();
  out.setVolume(0x12345678u);
  EXPECT_EQ(out.getVolume(), 0x12345678u);
  EXPECT_FALSE(out.deviceNames().empty());
}

}  // namespace
}  // namespace vx::audio
