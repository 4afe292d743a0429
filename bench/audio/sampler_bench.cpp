// The sampler's cost, measured in one run:
//   (a) offline real-time factor of both decks on mp3 at rate 1.07, alone and with all eight
//       sampler slots looping, each through two effects; the sampler's share against the decks'
//       (target: the sampler costs at most what the two decks cost);
//   (b) the audio callback's time at 256 frames with all of it running, against its 5.8 ms
//       budget (target: worst < 20 %): wall time, which counts any time the thread was put aside
//       for another one, and the thread's own CPU time, with how many callbacks were preempted.
//       The engine thread is scheduled as the device's callback thread is: real-time round robin
//       where the system grants it, else the nice level SDL gives its audio thread (-20; a third
//       argument sets that nice level alone). The same cadence with fixed arithmetic of the median callback's
//       cost is measured next to it: its spread is the machine's, not the engine's. Last, each
//       callback's best of several repeats of the same render offline: the engine's own cost
//       per callback;
//   (c) the callback that takes up triggers of all eight slots from rest, when every effect
//       chain forgets its sound, against an ordinary callback, both with cold caches.
// Test media are made with the ffmpeg command line tool in a temporary folder.
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <string>
#include <string>
#include <thread>
#include <vector>

#include "audio/decode/reader.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/mixer.h"
#include "audio/realtime/realtime_thread.h"
#include "audio/sampler/sampler_device.h"
#include "bench/bench_timing.h"

namespace {

using namespace vx::audio;
using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;

using vx::bench::cpuSeconds;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

std::string makeSong(const std::string& folder, const std::string& name, int seconds, int tone) {
  std::string path = folder + "/" + name;
  run("ffmpeg -nostdin -loglevel error -y -f lavfi -i anoisesrc=d=" + std::to_string(seconds) +
      ":c=pink:r=44100:a=0.25 -f lavfi -i sine=f=" + std::to_string(tone) + ":r=44100:d=" + std::to_string(seconds) +
      " -filter_complex amix=inputs=2,aformat=channel_layouts=stereo -b:a 192k '" + path + "'");
  return path;
}

// A two-second sample: mono for slots of even number, stereo for the others.
std::string makeSample(const std::string& folder, int slot) {
  std::string path = folder + "/slot" + std::to_string(slot) + ".wav";
  run("ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=f=" + std::to_string(200 + 100 * slot) +
      ":r=44100:d=2 -ac " + std::to_string(slot % 2 + 1) + " '" + path + "'");
  return path;
}

// Two decks and, when `samples` is not empty, eight looping slots with two effects each.
struct Rig {
  static std::vector<std::string> effects(size_t slot) {
    const char* pairs[4][2] = {{"GUID_DSFX_STANDARD_ECHO", "GUID_DSFX_STANDARD_CHORUS"},
                               {"GUID_DSFX_STANDARD_FLANGER", "GUID_DSFX_STANDARD_COMPRESSOR"},
                               {"GUID_DSFX_STANDARD_DISTORTION", "GUID_DSFX_STANDARD_PARAMEQ"},
                               {"GUID_DSFX_STANDARD_GARGLE", "GUID_DSFX_STANDARD_ECHO"}};
    return {pairs[slot % 4][0], pairs[slot % 4][1]};
  }

  Reader reader;
  Mixer mixer{2, kRate};
  DeckPlayer deckA{0, mixer, reader}, deckB{1, mixer, reader};
  SamplerDevice sampler{mixer};
  std::vector<std::unique_ptr<vx::platform::SoundBuffer>> slots;

  // `play`: the slots loop from the start; otherwise they wait stopped with their chains at rest.
  Rig(const std::string& a, const std::string& b, const std::vector<std::string>& samples, bool play = true) {
    deckA.setFileName(a);
    deckB.setFileName(b);
    deckA.setRate(1.07);
    deckB.setRate(1.07);
    deckA.play();
    deckB.play();
    sampler.create();
    for (size_t i = 0; i < samples.size(); ++i) {
      vx::platform::SoundResult r;
      auto buffer = sampler.createBufferFromFile(samples[i], i % 2 == 0 ? 0x290 : 0x2C0, r);
      if (!buffer) std::exit(1);
      buffer->setEffects(effects(i), nullptr);
      buffer->setVolume(-600);
      if (auto* space = buffer->spatial()) space->setPosition(static_cast<float>(i) - 3, 0, 2);
      if (play) buffer->play(vx::platform::kPlayLooping);
      slots.push_back(std::move(buffer));
    }
  }
};

double offlineCpu(const std::string& a, const std::string& b, const std::vector<std::string>& samples, double length) {
  Rig rig(a, b, samples);
  std::vector<float> block(256 * 2);
  double c0 = cpuSeconds();
  for (long done = 0; done < static_cast<long>(length * kRate); done += 256) {
    rig.reader.waitIdle();
    rig.mixer.render(block.data(), 256);
    rig.reader.wake();
  }
  return cpuSeconds() - c0;
}

constexpr double kBudgetMs = 256.0 / kRate * 1000;

double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

long preemptions() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_nivcsw;
}

// One callback as its thread saw it: wall time, the thread's own CPU time, and whether it was
// put aside for another thread meanwhile.
struct CallbackTimes {
  std::vector<double> wall, cpu;
  long preempted = 0;
};

// How the engine thread was scheduled.
struct Scheduling {
  bool realTime = false;
  bool niceTaken = false;
  int nice = 0;
  std::string text() const {
    if (realTime) return "real-time round robin, priority " + std::to_string(vx::audio::kCallbackRealTimePriority);
    return "nice " + std::to_string(niceTaken ? nice : 0) + (niceTaken ? "" : " (a higher priority was refused)");
  }
};

// The calling thread as the device's callback thread is scheduled; `realTime` false asks for
// the nice level only.
Scheduling schedule(bool realTime, int nice) {
  Scheduling s;
  s.nice = nice;
  s.realTime = realTime && vx::audio::raiseCallbackThread();
  if (!s.realTime) s.niceTaken = setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), nice) == 0;
  return s;
}

// On the calling thread, scheduled by `want`: runs `callback` every 256 frames' time until `stop`.
CallbackTimes atCadence(const Scheduling& want, const std::atomic<bool>& stop, const std::function<void()>& callback,
                        Scheduling& got) {
  got = schedule(want.realTime, want.nice);
  CallbackTimes t;
  t.wall.reserve(1 << 16);
  t.cpu.reserve(1 << 16);
  const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(256.0 / kRate));
  auto next = Clock::now();
  while (!stop) {
    long p0 = preemptions();
    double c0 = threadCpuMs();
    auto t0 = Clock::now();
    callback();
    auto t1 = Clock::now();
    t.cpu.push_back(threadCpuMs() - c0);
    t.wall.push_back(seconds(t1 - t0) * 1000);
    t.preempted += preemptions() > p0;
    next += period;
    std::this_thread::sleep_until(next);
  }
  return t;
}

double percentile(std::vector<double> ms, int perMille) {
  std::sort(ms.begin(), ms.end());
  return ms[std::min(ms.size() - 1, ms.size() * static_cast<size_t>(perMille) / 1000)];
}

void printSpread(const char* what, const std::vector<double>& ms) {
  double worst = percentile(ms, 1000), p999 = percentile(ms, 999), median = percentile(ms, 500);
  std::printf("    %-5s worst %.3f ms = %5.1f %%, 99.9th percentile %.3f ms = %5.1f %%, median %.3f ms = %4.1f %% of budget\n",
              what, worst, 100 * worst / kBudgetMs, p999, 100 * p999 / kBudgetMs, median, 100 * median / kBudgetMs);
}

// Arithmetic that takes the same CPU time every time it runs.
double fixedWork(long steps) {
  volatile double x = 1;
  for (long k = 0; k < steps; ++k) x = x * 1.0000001 + 1e-9;
  return x;
}

void callbackTime(const std::string& a, const std::string& b, const std::vector<std::string>& samples, double runSeconds,
                  const Scheduling& want) {
  Rig rig(a, b, samples);
  std::vector<float> block(256 * 2);
  std::atomic<bool> stop{false};
  Scheduling got;
  rig.mixer.setImmediate(false);
  CallbackTimes engine;
  std::thread player([&] { engine = atCadence(want, stop, [&] { rig.mixer.render(block.data(), 256); }, got); });
  // The UI moves things while it plays: a slider on an effect, a retrigger, a new place.
  for (auto until = Clock::now() + std::chrono::duration<double>(runSeconds); Clock::now() < until;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (size_t i = 0; i < rig.slots.size(); ++i) {
      rig.slots[i]->setCurrentPosition(0);
      if (auto* space = rig.slots[i]->spatial()) space->setPosition(static_cast<float>(i) - 4, 0, 1);
    }
  }
  stop = true;
  player.join();
  rig.mixer.setImmediate(true);
  std::printf("(b) audio callback at 256 frames, %zu callbacks over %.0f s: both decks at 1.07 and eight looping\n"
              "    slots with two effects each, every slot retriggered and moved every 100 ms; engine thread\n"
              "    %s (target: worst < 20 %% of the %.2f ms budget)\n",
              engine.wall.size(), runSeconds, got.text().c_str(), kBudgetMs);
  printSpread("wall:", engine.wall);
  printSpread("CPU:", engine.cpu);
  std::printf("    %ld callbacks were preempted by another thread\n", engine.preempted);

  // The machine's own spread: fixed work of the engine's median cost at the same cadence.
  double c0 = threadCpuMs();
  fixedWork(10'000'000);
  double perStep = (threadCpuMs() - c0) / 1e7;
  auto steps = static_cast<long>(percentile(engine.cpu, 500) / perStep);
  stop = false;
  CallbackTimes control;
  std::thread worker([&] { control = atCadence(want, stop, [&] { fixedWork(steps); }, got); });
  std::this_thread::sleep_for(std::chrono::duration<double>(runSeconds));
  stop = true;
  worker.join();
  std::printf("    the same cadence with fixed arithmetic of the median callback's CPU time, %zu callbacks:\n",
              control.wall.size());
  printSpread("wall:", control.wall);
  printSpread("CPU:", control.cpu);
  std::printf("    %ld callbacks were preempted by another thread\n", control.preempted);
}

// The engine's own cost per callback, the machine's noise taken out: the same render of `count`
// callbacks (retriggers and moves every 17th, as the UI sends them every 100 ms) repeated
// offline, each callback's best of the repeats.
void ownCost(const std::string& a, const std::string& b, const std::vector<std::string>& samples, int count) {
  std::vector<double> best(static_cast<size_t>(count), 1e9);
  const int repeats = 5;
  for (int r = 0; r < repeats; ++r) {
    Rig rig(a, b, samples);
    std::vector<float> block(256 * 2);
    for (int k = 0; k < count; ++k) {
      if (k % 17 == 16)
        for (size_t i = 0; i < rig.slots.size(); ++i) {
          rig.slots[i]->setCurrentPosition(0);
          if (auto* space = rig.slots[i]->spatial()) space->setPosition(static_cast<float>(i) - 4, 0, 1);
        }
      rig.reader.waitIdle();
      rig.mixer.setImmediate(false);  // the commands are taken up inside the callback
      double c0 = threadCpuMs();
      rig.mixer.render(block.data(), 256);
      best[static_cast<size_t>(k)] = std::min(best[static_cast<size_t>(k)], threadCpuMs() - c0);
      rig.mixer.setImmediate(true);
      rig.reader.wake();
    }
  }
  std::printf("    the engine's own cost, each of %d callbacks the best of %d repeats of the same render offline:\n", count,
              repeats);
  printSpread("CPU:", best);
}

// Memory the size of several last-level caches, walked through so that the next callback finds
// nothing of its own in the caches: as after seconds in which other programs ran.
void evictCaches() {
  static std::vector<char> other(64 << 20, 1);
  for (size_t i = 0; i < other.size(); i += 64) other[i] = static_cast<char>(other[i] + 1);
}

// The callback that takes up a trigger of every slot from rest, where each chain forgets the
// sound it held, against an ordinary callback; both with cold caches, best of several.
void triggerFromRest(const std::string& a, const std::string& b, const std::vector<std::string>& samples) {
  Rig rig(a, b, samples, false);
  std::vector<float> block(256 * 2);
  auto render = [&](bool cold) {
    rig.reader.waitIdle();
    if (cold) evictCaches();
    double c0 = threadCpuMs();
    rig.mixer.render(block.data(), 256);
    double ms = threadCpuMs() - c0;
    rig.reader.wake();
    return ms;
  };
  double trigger = 1e9, ordinary = 1e9;
  for (int round = 0; round < 9; ++round) {
    for (auto& slot : rig.slots) slot->stop();
    for (int k = 0; k < 4; ++k) render(false);
    // A new chain is at rest, as one is after ringing out: the next play makes it forget.
    for (size_t i = 0; i < rig.slots.size(); ++i) rig.slots[i]->setEffects(Rig::effects(i), nullptr);
    for (int k = 0; k < 4; ++k) render(false);
    rig.mixer.setImmediate(false);  // the plays are taken up inside the next callback
    for (auto& slot : rig.slots) slot->play(vx::platform::kPlayLooping);
    trigger = std::min(trigger, render(true));
    rig.mixer.setImmediate(true);
    for (int k = 0; k < 20; ++k) render(false);
    ordinary = std::min(ordinary, render(true));
  }
  std::printf("(c) the callback taking up triggers of all eight slots from rest (each chain forgets its sound),\n"
              "    caches cold, best of 9: CPU %.3f ms = %.1f %% of budget, %.2fx an ordinary callback (%.3f ms)\n",
              trigger, 100 * trigger / kBudgetMs, trigger / ordinary, ordinary);
}

}  // namespace

int main(int argc, char** argv) {
  double length = argc > 1 ? std::atof(argv[1]) : 60;
  double callbackSeconds = argc > 2 ? std::atof(argv[2]) : 20;
  // No third argument: as the device's thread (real time, else nice -20); a number: that nice
  // level alone.
  Scheduling want;
  want.realTime = argc <= 3;
  want.nice = argc > 3 ? std::atoi(argv[3]) : -20;
  std::string folder = (std::filesystem::temp_directory_path() / ("velvox-bench-" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(folder);
  std::printf("making test media...\n");
  std::fflush(stdout);
  std::string a = makeSong(folder, "a.mp3", static_cast<int>(length) + 5, 440);
  std::string b = makeSong(folder, "b.mp3", static_cast<int>(length) + 5, 660);
  std::vector<std::string> samples;
  for (int slot = 0; slot < 8; ++slot) samples.push_back(makeSample(folder, slot));
  double decks = offlineCpu(a, b, {}, length);
  double all = offlineCpu(a, b, samples, length);
  std::printf("(a) %.0f s of output, CPU: both decks at 1.07 %.2f s (real-time factor %.4f); with eight slots and\n"
              "    two effects each %.2f s (%.4f); the sampler costs %.2fx what the decks cost (target <= 1)\n",
              length, decks, decks / length, all, all / length, (all - decks) / decks);
  callbackTime(a, b, samples, callbackSeconds, want);
  ownCost(a, b, samples, static_cast<int>(std::min(length, 10.0) * kRate / 256));
  triggerFromRest(a, b, samples);
  std::filesystem::remove_all(folder);
  return 0;
}
