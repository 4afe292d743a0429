// The UI thread, the reader thread and a real-time engine thread at work together, as with a
// sound card: run under ThreadSanitizer by scripts/test-extra.d.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "audio/clock_output.h"
#include "audio/deck_player.h"
#include "audio/mixer.h"
#include "audio/monitor_player.h"
#include "audio/reader.h"
#include "audio/sound_system.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;

TEST(Threads, TheEngineKeepsRealTimeWhileTheUiChangesEverything) {
  testing::TempDir dir;
  std::vector<std::string> files = {dir.path("a.wav"), dir.path("b.wav"), dir.path("bad.mp3"), dir.path("c.mid")};
  testing::writeWav(files[0], kRate, 2, testing::sine(440, 0.5, kRate, kRate * 3));
  testing::writeWav(files[1], 22050, 1, std::vector<float>(22050 * 2, 0.25f));
  testing::writeBytes(files[2], std::string(3000, '\x33'));
  testing::writeMidi(files[3], 8);

  Reader reader;
  Mixer main(2, kRate), phones(1, kRate);
  DeckPlayer a(0, main, reader), b(1, main, reader);
  MonitorPlayer monitor(phones, reader, [](int) {});
  {
    ClockOutput engine(main, kRate, 256);
    ClockOutput monitorEngine(phones, kRate, 256);
    // A deck left alone keeps time with the clock.
    a.setFileName(files[0]);
    a.play();
    auto started = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_NEAR(a.currentPosition(), elapsed, 0.1);

    std::mt19937 random(11);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    platform::MonitorInfo info;
    for (auto until = Clock::now() + std::chrono::milliseconds(1500); Clock::now() < until;) {
      DeckPlayer& d = pick(2) ? a : b;
      switch (pick(9)) {
        case 0: d.setFileName(files[static_cast<size_t>(pick(4))]); break;
        case 1: d.setCurrentPosition(pick(3000) / 1000.0); break;
        case 2: d.play(); break;
        case 3: d.pause(); break;
        case 4: d.stop(); break;
        case 5: d.setRate(0.5 + pick(150) / 100.0); break;
        case 6: d.setVolume(-pick(3000)); break;
        case 7: monitor.open(files[static_cast<size_t>(pick(4))], info); monitor.play(); break;
        default: monitor.setPlaySamples(pick(kRate * 2)); break;
      }
      a.deliverEvents();
      b.deliverEvents();
      monitor.update();
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  }
  EXPECT_GT(main.blocksRendered(), 200u);
  EXPECT_GE(a.currentPosition(), 0);
  EXPECT_LE(a.currentPosition(), a.duration() + 1e-9);
}

TEST(Threads, WithoutAnySoundCardTheProgramRunsOnTheClockAndSaysSo) {
  testing::TempDir dir;
  std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, kRate * 3));
  const char* before = std::getenv("SDL_AUDIODRIVER");
  std::string saved = before ? before : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SoundSystemOptions options;
  auto sound = createSoundSystem(options);
  if (before)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
  EXPECT_TRUE(sound->usingVirtualDevice());
  EXPECT_NE(sound->deviceMessage(), "");
  auto& deck = sound->player(0);
  deck.setFileName(song);
  deck.play();
  auto started = Clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  sound->deliverEvents();
  EXPECT_NEAR(deck.currentPosition(), std::chrono::duration<double>(Clock::now() - started).count(), 0.1);
  // With the monitor off its mixer has no device; what the UI asks still takes effect.
  platform::MonitorInfo info;
  ASSERT_NE(sound->monitor().open(song, info), 0);
  for (int i = 0; i < 5000; ++i) sound->monitor().setPlaySamples(i);
  EXPECT_EQ(sound->monitor().positionSamples(), 4999);
}

}  // namespace
}  // namespace vx::audio
