// Through a real sound server: a deck played with SDL into the sink "main", the monitor into
// "phones", both recorded back from the sinks' monitors. Needs the PulseAudio server that
// scripts/test.d/pulseaudio.sh starts; skipped when none is reachable.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/sound_server.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::Span;
using testing::TempDir;
constexpr int kRate = 44100;

using testing::commandOutput;
using testing::missingSoundServer;
using testing::recordSink;

int indexOf(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

class SoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string why = missingSoundServer(); !why.empty()) GTEST_SKIP() << why;
    SoundSystemOptions options;
    options.mainDevice = "main";
    sound = createSoundSystem(options);
    ASSERT_EQ(sound->deviceMessage(), "");
    ASSERT_FALSE(sound->usingVirtualDevice());
  }
  std::string tone(const std::string& name, double hz) {
    std::string path = dir.path(name);
    testing::writeWav(path, kRate, 2, testing::sine(hz, 0.5, kRate, kRate * 8));
    return path;
  }
  void wait(double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
      sound->deliverEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  }
  TempDir dir;
  std::unique_ptr<SoundSystem> sound;
};

TEST_F(SoundServer, DeckAndMonitorArriveOnTheirOwnDevicesAtTheirLevels) {
  auto& a = sound->player(0);
  auto& b = sound->player(1);
  auto& monitor = sound->monitor();
  std::vector<std::string> names = sound->waveOut().deviceNames();
  int phones = indexOf(names, "phones");
  ASSERT_GE(phones, 0) << "devices seen: " << names.size();
  a.setFileName(tone("a.wav", 1000));
  a.setVolume(-600);
  a.play();
  b.setFileName(tone("b.wav", 3000));
  b.setMute(true);
  b.play();
  monitor.init();
  monitor.setWaveOutDeviceId(phones);
  platform::MonitorInfo info;
  ASSERT_NE(monitor.open(tone("m.wav", 660), info), 0);
  monitor.setVolume(50, 50);
  monitor.play();
  wait(0.4);

  // A null sink hands its sound to the recorder after its own latency, which the server may set
  // anywhere up to a second or more: record long enough, then look at what arrived.
  std::vector<float> phonesHeard;
  std::thread other([&] { phonesHeard = recordSink("phones", 2.5); });
  std::vector<float> mainHeard = recordSink("main", 2.5);
  other.join();
  ASSERT_GT(mainHeard.size(), static_cast<size_t>(kRate) * 2 * 6 / 10);
  ASSERT_GT(phonesHeard.size(), static_cast<size_t>(kRate) * 2 * 6 / 10);
  size_t from = kRate / 10, to = std::min(mainHeard.size(), phonesHeard.size()) / 2 - kRate / 20;

  Span main{mainHeard, 0, from, to};
  EXPECT_NEAR(testing::typicalFrequency(main, kRate), 1000, 2);
  double expected = 0.5 * std::pow(10.0, -600 / 2000.0);
  EXPECT_NEAR(testing::decibels(testing::typicalToneAmplitude(main, 1000, kRate) / expected), 0, 0.5);
  EXPECT_LT(testing::typicalToneAmplitude(main, 3000, kRate), 1e-3) << "the muted deck is heard";
  EXPECT_LT(testing::typicalToneAmplitude(main, 660, kRate), 1e-3) << "the monitor is heard on the main output";

  Span heard{phonesHeard, 1, from, to};
  EXPECT_NEAR(testing::typicalFrequency(heard, kRate), 660, 2);
  EXPECT_NEAR(testing::decibels(testing::typicalToneAmplitude(heard, 660, kRate) / 0.25), 0, 0.5);
  EXPECT_LT(testing::typicalToneAmplitude(heard, 1000, kRate), 1e-3) << "the deck is heard on the monitor's device";
}

TEST_F(SoundServer, ASamplerSlotIsHeardInTheMainMixOverAPlayingDeck) {
  auto& deck = sound->player(0);
  deck.setFileName(tone("deck.wav", 1000));
  deck.setVolume(-600);
  deck.play();
  ASSERT_TRUE(sound->soundDevice().create());
  std::string sample = dir.path("slot.wav");
  std::vector<float> stereo = testing::sine(2500, 0.25, kRate, kRate * 8), mono(stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = stereo[2 * i];
  testing::writeWav(sample, kRate, 1, mono);
  platform::SoundResult result = platform::kSoundGeneric;
  auto slot = sound->soundDevice().createBufferFromFile(sample, 0xE0, result);
  ASSERT_EQ(result, platform::kSoundOk);
  slot->setCurrentPosition(0);
  slot->play(0);
  wait(0.4);
  std::vector<float> heard = recordSink("main", 2.5);
  ASSERT_GT(heard.size(), static_cast<size_t>(kRate) * 2 * 6 / 10);
  Span main{heard, 0, static_cast<size_t>(kRate / 10), heard.size() / 2 - kRate / 20};
  EXPECT_NEAR(testing::decibels(testing::typicalToneAmplitude(main, 1000, kRate) / (0.5 * std::pow(10.0, -0.3))), 0, 0.5);
  EXPECT_NEAR(testing::decibels(testing::typicalToneAmplitude(main, 2500, kRate) / 0.25), 0, 0.5);
  EXPECT_EQ(slot->status(), platform::kStatusPlaying);
}

TEST_F(SoundServer, TheCardRestsWhileNothingPlaysAndTheNextStartIsHeard) {
  auto streams = [] { return commandOutput("pactl list short sink-inputs 2>/dev/null | wc -l"); };
  auto& a = sound->player(0);
  a.setFileName(tone("a.wav", 1000));
  // A null sink nobody played into may take a while before it asks for its first sound; the
  // output rests after a second of silent callbacks.
  for (int i = 0; i < 20 && !sound->idle(); ++i) wait(0.25);
  EXPECT_TRUE(sound->idle());
  EXPECT_EQ(streams(), "0\n") << "a silent output keeps its stream open";
  a.play();
  EXPECT_FALSE(sound->idle());
  wait(0.3);
  std::vector<float> heard = recordSink("main", 2.5);
  ASSERT_GT(heard.size(), static_cast<size_t>(kRate) * 2 * 6 / 10);
  EXPECT_NEAR(testing::typicalToneAmplitude({heard, 0, kRate / 10, heard.size() / 2 - kRate / 20}, 1000, kRate), 0.5,
              0.02);
}

TEST_F(SoundServer, ALostDeviceIsReplacedByTheClockAndTakenBackWhenItReturns) {
  auto& a = sound->player(0);
  a.setFileName(tone("a.wav", 1000));
  a.play();
  wait(0.3);
  std::string modules = commandOutput("pactl list short modules");
  size_t line = modules.find("sink_name=main");
  ASSERT_NE(line, std::string::npos);
  std::string index = modules.substr(modules.rfind('\n', line) + 1);
  index = index.substr(0, index.find('\t'));
  ASSERT_EQ(std::system(("pactl unload-module " + index).c_str()), 0);
  wait(1.0);
  EXPECT_TRUE(sound->usingVirtualDevice());
  EXPECT_NE(sound->deviceMessage(), "");
  double before = a.currentPosition();
  wait(0.5);
  EXPECT_GT(a.currentPosition(), before + 0.3) << "the deck stopped keeping time without its device";
  EXPECT_EQ(a.playState(), platform::Playing);
  ASSERT_EQ(std::system("pactl load-module module-null-sink sink_name=main rate=44100 "
                        "sink_properties=device.description=main >/dev/null"),
            0);
  wait(3.0);
  EXPECT_FALSE(sound->usingVirtualDevice());
  EXPECT_EQ(sound->deviceMessage(), "");
  std::vector<float> heard = recordSink("main", 2.0);
  ASSERT_GT(heard.size(), static_cast<size_t>(kRate) * 2 / 2);
  EXPECT_NEAR(testing::typicalToneAmplitude({heard, 0, kRate / 10, heard.size() / 2 - kRate / 20}, 1000, kRate), 0.5,
              0.02);
}

// Split cue: the monitored deck (here the monitor's 660 Hz) in the left ear, the master (deck A's
// 1 kHz) in the right; on the monitor's own device, and on the main output when the monitor
// shares it.
TEST_F(SoundServer, SplitCuePutsTheMonitoredDeckLeftAndTheMasterRight) {
  auto& a = sound->player(0);
  a.setFileName(tone("a.wav", 1000));
  a.play();
  auto& monitor = sound->monitor();
  std::vector<std::string> names = sound->waveOut().deviceNames();
  monitor.init();
  platform::MonitorInfo info;
  ASSERT_NE(monitor.open(tone("m.wav", 660), info), 0);
  monitor.play();
  sound->djMixer().setSplitCue(true);
  for (const char* device : {"phones", "main"}) {
    int index = indexOf(names, device);
    ASSERT_GE(index, 0) << device;
    monitor.setWaveOutDeviceId(index);
    wait(0.4);
    std::vector<float> heard = recordSink(device, 2.5);
    ASSERT_GT(heard.size(), static_cast<size_t>(kRate) * 2 * 6 / 10) << device;
    size_t from = kRate / 10, to = heard.size() / 2 - kRate / 20;
    Span left{heard, 0, from, to}, right{heard, 1, from, to};
    EXPECT_NEAR(testing::typicalToneAmplitude(left, 660, kRate), 0.5, 0.03) << device;
    EXPECT_LT(testing::typicalToneAmplitude(left, 1000, kRate), 0.01) << device;
    EXPECT_NEAR(testing::typicalToneAmplitude(right, 1000, kRate), 0.5, 0.03) << device;
    EXPECT_LT(testing::typicalToneAmplitude(right, 660, kRate), 0.01) << device;
  }
}

}  // namespace
}  // namespace vx::audio
