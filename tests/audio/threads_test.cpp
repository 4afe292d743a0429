// The UI thread, the reader thread and a real-time engine thread at work together, as with a
// sound card: run under ThreadSanitizer by scripts/test-extra.d.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "audio/decode/reader.h"
#include "audio/devices/clock_output.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/mixer.h"
#include "audio/engine/monitor_player.h"
#include "audio/sound_system.h"
#include "tests/audio/monitor_share_rig.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;

// The threads of this process by id.
std::set<std::string> threadIds() {
  std::set<std::string> ids;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* e = readdir(tasks))
      if (e->d_name[0] != '.') ids.insert(e->d_name);
    closedir(tasks);
  }
  return ids;
}

// The threads there are before a test starts the engine's. ThreadSanitizer starts a thread of
// its own (waking ten times a second) with the process's first new thread: one is started and
// ended first, so that the sanitizer's thread is among those already there.
std::set<std::string> threadsBeforeTheEngine() {
  std::thread([] {}).join();
  return threadIds();
}

// How often the threads started since `before` (the engine's, not the test's or a sanitizer's)
// have gone to sleep so far: each time is a wake-up to come. The times another thread took their
// core are left out; they grow with the machine's load, not with what the threads do.
long newThreadsWakeUps(const std::set<std::string>& before) {
  long total = 0;
  for (const std::string& id : threadIds()) {
    if (before.count(id)) continue;
    std::ifstream status("/proc/self/task/" + id + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stol(line.substr(line.find(':') + 1));
  }
  return total;
}

// Runs `seconds` of sound through `mixer` on this thread as a device would, a block at a time,
// faster than real time (at real time under the sanitizers, which slow the reader several times
// over: on a busy machine it could not keep up with twenty times its speed); returns it.
std::vector<float> renderLikeADevice(Mixer& mixer, double seconds) {
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
  const auto pause = std::chrono::microseconds(256 * 1000000 / kRate);
#else
  const auto pause = std::chrono::microseconds(300);
#endif
  std::vector<float> out;
  float block[256 * 2];
  for (int n = 0; n < seconds * kRate / 256; ++n) {
    mixer.render(block, 256);
    out.insert(out.end(), block, block + 512);
    std::this_thread::sleep_for(pause);
  }
  return out;
}

// The sound system of a machine whose sound library finds no card at all.
std::unique_ptr<SoundSystem> soundWithoutCard() {
  const char* before = std::getenv("SDL_AUDIODRIVER");
  std::string saved = before ? before : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  auto sound = createSoundSystem({});
  if (before)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
  return sound;
}

TEST(Threads, TheReaderSleepsWhileNothingPlaysAndRefillsAPlayingDeckUnasked) {
  testing::TempDir dir;
  std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, kRate * 8));
  std::set<std::string> testThreads = threadsBeforeTheEngine();
  Reader reader;
  Mixer main(2, kRate);
  DeckPlayer a(0, main, reader);
  a.setFileName(song);
  reader.waitIdle();
  long before = newThreadsWakeUps(testThreads);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LE(newThreadsWakeUps(testThreads) - before, 2) << "a thread woke without work";

  // Nothing but the engine's consumption tells the reader to go on: 6 s of sound, four times
  // the read-ahead, play without a single empty block.
  main.setImmediate(false);
  a.play();
  main.applyCommands();
  reader.waitIdle();
  std::vector<float> heard = renderLikeADevice(main, 6);
  for (size_t block = 0; block < heard.size(); block += 512) {
    float loudest = 0;
    for (size_t i = block; i < block + 512; ++i) loudest = std::max(loudest, std::fabs(heard[i]));
    ASSERT_GT(loudest, 0.1f) << "silence at " << block / 2.0 / kRate << " s: the reader fell behind";
  }
  main.setImmediate(true);
}

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

// Key lock stretched on the mixer's worker, a callback's time apart as on a sound card, with a
// jump and a change of rate on the way: the callback finds its frames ready, the key stays, the
// worker is woken for several blocks at a time while playing goes on, and sleeps once nothing
// stretches.
TEST(Threads, KeyLockStretchesAheadOfTheCallbackOnItsWorker) {
  testing::TempDir dir;
  std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, kRate * 8));
  std::set<std::string> testThreads = threadsBeforeTheEngine();
  Reader reader;
  Mixer main(2, kRate);
  DeckPlayer a(0, main, reader);
  a.setFileName(song);
  a.setRate(1.07);
  a.setKeyLock(true);
  main.setImmediate(false);
  a.play();
  std::vector<float> heard;
  float block[256 * 2];
  auto next = Clock::now();
  const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(256.0 / kRate));
  long steadyWakeUps = 0;
  for (int n = 0; n < 2 * kRate / 256; ++n) {
    if (n == 20) steadyWakeUps = -newThreadsWakeUps(testThreads);
    if (n == 100) steadyWakeUps += newThreadsWakeUps(testThreads);
    if (n == 100) a.setCurrentPosition(3.0);
    if (n == 200) a.setRate(1.04);
    a.deliverEvents();
    main.render(block, 256);
    heard.insert(heard.end(), block, block + 512);
    next += period;
    std::this_thread::sleep_until(next);
  }
  // Gaps of a millisecond or more, after the first blocks (which wait for the reader and the
  // stretcher's start): a jump holds the old place until the new one is stretched.
  int quiet = 0, gaps = 0;
  for (size_t i = 9 * 256; i < heard.size() / 2; ++i) {
    quiet = std::fabs(heard[2 * i]) < 0.01f ? quiet + 1 : 0;
    if (quiet == kRate / 1000) ++gaps;
  }
#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)  // several times slower there
  EXPECT_EQ(gaps, 0) << "the callback found nothing stretched";
  // Woken for two blocks or more at a time, the worker finds its stretcher's memory still cached.
  EXPECT_LE(steadyWakeUps, 55) << "in 80 callbacks";
#endif
  EXPECT_NEAR(testing::typicalFrequency({heard, 0, 40 * 256, 100 * 256}, kRate), 440.0, 1.0);
  EXPECT_NEAR(testing::typicalFrequency({heard, 0, 220 * 256, heard.size() / 2}, kRate), 440.0, 1.0);
  a.pause();
  a.deliverEvents();
  for (int n = 0; n < 20; ++n) main.render(block, 256);
  long before = newThreadsWakeUps(testThreads);
  for (int n = 0; n < 50; ++n) main.render(block, 256);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_LE(newThreadsWakeUps(testThreads) - before, 2) << "a thread woke without work";
  main.setImmediate(true);
}

// The monitor's output takes the deck's stretched frames across threads: the deck's worker
// offers them, the monitor's engine thread reads them on its own clock.
TEST(Threads, TheMonitorTakesTheDecksStretchedFramesOnItsOwnClock) {
  testing::TempDir dir;
  std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, kRate * 8));
  testing::MonitorShareRig rig(song, kRate, 1.07);
  ClockOutput engine(rig.main, kRate, 256);
  ClockOutput monitorEngine(rig.phones, kRate, 256);
  rig.play();
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const uint64_t own = rig.monitorStretched();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  rig.deck.deliverEvents();
  EXPECT_NEAR(rig.monitor.positionSamples() / double(kRate), rig.deck.currentPosition(), 0.03);
#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)  // the worker may fall behind there
  EXPECT_LT(rig.monitorStretched() - own, 4096u) << "the monitor stretched for itself";
#else
  (void)own;
#endif
}

TEST(Threads, WithoutAnySoundCardTheProgramRunsOnTheClockAndSaysSo) {
  testing::TempDir dir;
  std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, kRate * 3));
  auto sound = soundWithoutCard();
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

// The clock stands in for a card as a card would: it rests while nothing sounds (no thread
// wakes), and the first sound starts it again.
TEST(Threads, AnOutputRestsWhileSilentAndTheFirstSoundWakesIt) {
  testing::TempDir dir;
  std::string song = dir.path("a.wav");
  testing::writeWav(song, kRate, 2, testing::sine(440, 0.5, kRate, kRate * 3));
  std::set<std::string> testThreads = threadsBeforeTheEngine();
  auto sound = soundWithoutCard();
  auto& deck = sound->player(0);
  deck.setFileName(song);
  auto waitFor = [&](double seconds) {
    for (auto until = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < until;) {
      sound->deliverEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  };
  EXPECT_FALSE(sound->idle());
  waitFor(1.3);
  ASSERT_TRUE(sound->idle()) << "a silent output still renders";
  long wakeUps = newThreadsWakeUps(testThreads);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LE(newThreadsWakeUps(testThreads) - wakeUps, 2);

  deck.play();
  EXPECT_FALSE(sound->idle());
  auto started = Clock::now();
  waitFor(0.5);
  EXPECT_NEAR(deck.currentPosition(), std::chrono::duration<double>(Clock::now() - started).count(), 0.1);
  EXPECT_FALSE(sound->idle());
  deck.pause();
  waitFor(1.3);
  EXPECT_TRUE(sound->idle());
  EXPECT_TRUE(sound->usingVirtualDevice()) << "resting is no reason to forget that the card is missing";
}

// A sampler trigger is a sound like a deck's start: it wakes the resting output, and the output
// rests again once the sample has ended, even though the sampler stays loaded.
TEST(Threads, ASamplerTriggerWakesTheRestingOutputWhichRestsAgainAfterTheSample) {
  testing::TempDir dir;
  std::string sample = dir.path("hit.wav");
  testing::writeWav(sample, kRate, 2, testing::sine(880, 0.5, kRate, kRate / 4));
  auto sound = soundWithoutCard();
  ASSERT_TRUE(sound->soundDevice().create());
  platform::SoundResult result = platform::kSoundGeneric;
  auto slot = sound->soundDevice().createBufferFromFile(sample, 0xE0, result);
  ASSERT_EQ(result, platform::kSoundOk);
  auto waitFor = [&](double seconds) {
    for (auto until = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < until;) {
      sound->deliverEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  };
  waitFor(1.3);
  ASSERT_TRUE(sound->idle()) << "a loaded, silent sampler keeps the output rendering";
  slot->setCurrentPosition(0);
  slot->play(0);
  EXPECT_FALSE(sound->idle()) << "the trigger was not heard";
  waitFor(1.6);
  EXPECT_TRUE(sound->idle()) << "the output keeps rendering after the sample ended";
}

}  // namespace
}  // namespace vx::audio
