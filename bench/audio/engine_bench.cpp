// The sound engine's figures, each measured in one run:
//   (a) offline real-time factor: both decks on mp3 at rate 1.07 plus the monitor, against
//       FFmpeg's own decode of the same two files to nothing; again at rate 1, where the rate
//       converter lets the frames pass;
//   (b) seek latency, median and 99th percentile, over 10,000 random seeks in a 10-minute mp3
//       (the cue jump), and beside it, as ratios to it, a loop's wrap and a hot-cue jump into a
//       loop's crossfade, the reader's worst case;
//   (c) the audio callback's worst time at 256 frames against its 5.8 ms budget;
//   (d) resident memory with two 10-minute songs loaded;
//   (e) the DJ panel's cost: both decks with every equaliser band and the filter engaged against
//       both decks flat (target <= 1.15x), rendering and decoding counted alike.
// Test media are made with the ffmpeg command line tool in a temporary folder.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "audio/decode/decoder.h"
#include "audio/decode/reader.h"
#include "audio/decode/track.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/mixer.h"
#include "audio/engine/monitor_player.h"
#include "audio/realtime/realtime_thread.h"
#include "audio/sound_system.h"
#include "bench/bench_timing.h"

namespace {

using namespace vx::audio;
using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;

using vx::bench::cpuSeconds;

double childCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Music-like material: pink noise under a tone, `minutes` long, as a 192 kbit/s mp3.
std::string makeSong(const std::string& folder, const std::string& name, int minutes, int tone) {
  std::string path = folder + "/" + name;
  std::string command = "ffmpeg -nostdin -loglevel error -y -f lavfi -i anoisesrc=d=" + std::to_string(minutes * 60) +
                        ":c=pink:r=44100:a=0.25 -f lavfi -i sine=f=" + std::to_string(tone) +
                        ":r=44100:d=" + std::to_string(minutes * 60) +
                        " -filter_complex amix=inputs=2,aformat=channel_layouts=stereo -b:a 192k '" + path + "'";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "ffmpeg could not make %s\n", path.c_str());
    std::exit(1);
  }
  return path;
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

double ffmpegDecodeCpu(const std::string& a, const std::string& b) {
  double c0 = childCpuSeconds();
  auto w0 = Clock::now();
  for (const std::string& f : {a, b}) {
    std::string command = "ffmpeg -nostdin -loglevel error -threads 1 -i '" + f + "' -f null -";
    if (std::system(command.c_str()) != 0) std::exit(1);
  }
  double cpu = childCpuSeconds() - c0;
  std::printf("(a) ffmpeg decodes the two files to nothing: CPU %.2f s, wall %.2f s\n", cpu, seconds(Clock::now() - w0));
  return cpu;
}

// Both decks at `rate` and the monitor on deck A's song at the same pitch, played to the end.
double realTimeFactor(const std::string& a, const std::string& b, double rate, double ffmpegCpu, bool keyLock = false) {
  SoundSystemOptions options;
  options.virtualDevice = true;
  auto sound = createSoundSystem(options);
  auto& deckA = sound->player(0);
  auto& deckB = sound->player(1);
  auto& monitor = sound->monitor();
  double e0 = cpuSeconds();
  auto w1 = Clock::now();
  deckA.setFileName(a);
  deckB.setFileName(b);
  monitor.init();
  vx::platform::MonitorInfo info;
  monitor.open(a, info);
  for (auto* d : {&deckA, &deckB}) {
    d->setRate(rate);
    d->setKeyLock(keyLock);
    d->play();
  }
  monitor.setPitch(std::lround(rate * 100));
  monitor.setKeyLock(keyLock);
  monitor.play();
  long ticks = 0;
  while (deckA.playState() == 2 || deckB.playState() == 2) {
    sound->renderVirtual(1323);
    sound->deliverEvents();
    ++ticks;
  }
  double engineCpu = cpuSeconds() - e0, engineWall = seconds(Clock::now() - w1);
  double played = ticks * 1323.0 / kRate;
  std::printf("    both decks at rate %.2f%s + monitor, %.0f s of output: engine CPU %.2f s, wall %.2f s\n", rate,
              keyLock ? " with key lock" : "", played, engineCpu, engineWall);
  std::printf("    real-time factor %.4f by CPU; %.2fx ffmpeg's CPU (target <= 1.5x)\n", engineCpu / played,
              engineCpu / ffmpegCpu);
  return engineCpu;
}

// The engine takes jump `generation` to `frame` up at once; returns the milliseconds until its
// first frames are ready, older ones dropped as the engine would.
double jumpMs(Track& track, Reader& reader, uint32_t generation, int64_t frame, LoopSpan loop = {}) {
  TrackCache& cache = track.cache();
  auto t0 = Clock::now();
  cache.setPlayHead(generation, frame);
  track.requestSeek(generation, frame, loop);
  reader.wake();
  for (;;) {
    const Chunk* c = cache.front();
    if (c && c->generation == generation) break;
    if (c) cache.release();
  }
  return seconds(Clock::now() - t0) * 1000;
}

// A random loop of a quarter of a second to two seconds well inside the song.
LoopSpan randomLoop(std::mt19937& random, int64_t length) {
  int64_t in = std::uniform_int_distribution<int64_t>(kRate, length - 4 * kRate)(random);
  return {in, in + std::uniform_int_distribution<int64_t>(kRate / 4, 2 * kRate)(random)};
}

void seekLatency(const std::string& song) {
  OpenResult opened = openDecoder(song);
  Track track(std::move(opened.decoder));
  int64_t length = track.format().lengthFrames;
  Reader reader;
  reader.add(&track);
  std::mt19937 random(5);
  std::vector<double> latencies;
  TrackCache& cache = track.cache();
  for (uint32_t generation = 1; generation <= 10000; ++generation) {
    int64_t frame = std::uniform_int_distribution<int64_t>(0, length - kRate)(random);
    latencies.push_back(jumpMs(track, reader, generation, frame));
    cache.release();
  }
  // A hot cue is a jump to a stored sample, the cue's own seek; with a loop set, a pad whose
  // sample lies in the loop's crossfade is the reader's worst case: the first frames of the
  // jump are the crossfade itself, which reads both ends of the loop.
  std::vector<double> hotCues;
  for (uint32_t generation = 10001; generation <= 12000; ++generation) {
    const LoopSpan loop = randomLoop(random, length);
    const int64_t pad = loop.crossfadeStart() + std::uniform_int_distribution<int64_t>(0, loop.crossfadeFrames() - 1)(random);
    hotCues.push_back(jumpMs(track, reader, generation, pad, loop));
    cache.release();
  }
  // A loop's wrap, decoded ahead by the reader: from the frames before the crossfade to the
  // loop's start, ready.
  std::vector<double> wraps;
  for (uint32_t generation = 20001; generation <= 22000; ++generation) {
    const LoopSpan loop = randomLoop(random, length);
    jumpMs(track, reader, generation, loop.crossfadeStart() - Chunk::kFrames / 2, loop);  // up to the crossfade
    cache.release();
    auto t0 = Clock::now();
    for (;;) {  // then the wrap: the crossfade (a seek of its own) and the frames from the loop's start
      const Chunk* c = cache.front();
      if (c && c->generation == generation && c->start == loop.in) break;
      if (c) cache.release();
    }
    wraps.push_back(seconds(Clock::now() - t0) * 1000);
    cache.release();
  }
  reader.remove(&track);
  std::sort(latencies.begin(), latencies.end());
  std::sort(wraps.begin(), wraps.end());
  std::sort(hotCues.begin(), hotCues.end());
  auto ratioLine = [&](const char* what, const std::vector<double>& v) {
    std::printf("    %s over %zu: median %.3f ms, 99th %.3f ms; ratio to the cue jump: median %.2f, 99th %.2f"
                " (target <= 1)\n",
                what, v.size(), v[v.size() / 2], v[v.size() * 99 / 100], v[v.size() / 2] / latencies[latencies.size() / 2],
                v[v.size() * 99 / 100] / latencies[latencies.size() * 99 / 100]);
  };
  std::printf("(b) seek latency over %zu random seeks in a %.0f-minute mp3 (request to first frames ready)\n",
              latencies.size(), track.format().durationSeconds / 60);
  std::printf("    median %.3f ms (target < 1 ms), 99th percentile %.3f ms (target < 20 ms), worst %.3f ms\n",
              latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100], latencies.back());
  ratioLine("loop wrap (crossfade, then the loop's start ready)", wraps);
  ratioLine("hot-cue jump into a loop's crossfade", hotCues);
  std::fflush(stdout);
}

// Thread CPU time: what a render costs, apart from the time the machine gave to other work.
double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

void printCallbacks(const char* what, std::vector<double> wall, std::vector<double> cpu) {
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  const double budget = 256.0 / kRate * 1000;
  std::printf("    %s: worst %.3f ms = %.1f %% of the %.2f ms budget (target < 25 %%); 99.9th percentile %.3f ms,\n"
              "      median %.3f ms; by thread CPU: worst %.3f ms = %.1f %%, 99.9th percentile %.3f ms\n",
              what, wall.back(), 100 * wall.back() / budget, budget, wall[wall.size() * 999 / 1000], wall[wall.size() / 2],
              cpu.back(), 100 * cpu.back() / budget, cpu[cpu.size() * 999 / 1000]);
}

// A mixer rendered by a real-time clock thread at 256 frames, two decks playing, while the UI
// thread jumps and bends the pitch the way a DJ does; every render is timed. With key lock the
// monitor's mixer plays deck A's song too, rendered on the same thread (its own device's callback
// in the program) and timed apart.
void callbackTime(const std::string& a, const std::string& b, double runSeconds, bool keyLock = false) {
  Reader reader;
  Mixer mixer(2, kRate), phones(1, kRate, vx::audio::RateConverter::Quality::Preview);
  DeckPlayer deckA(0, mixer, reader), deckB(1, mixer, reader);
  MonitorPlayer monitor(phones, reader, [](int) {});
  deckA.setFileName(a);
  deckB.setFileName(b);
  deckA.setRate(1.07);
  deckB.setRate(0.96);
  deckA.setKeyLock(keyLock);
  deckB.setKeyLock(keyLock);
  deckA.play();
  deckB.play();
  if (keyLock) {
    monitor.init();
    vx::platform::MonitorInfo info;
    monitor.open(a, info);
    monitor.setRate(1.07);
    monitor.setKeyLock(true);
    monitor.play();
  }
  std::vector<float> buffer(256 * 2);
  const size_t expected = static_cast<size_t>(runSeconds * kRate / 256) + 16;
  std::vector<double> times, cpuTimes, monitorTimes, monitorCpu;
  for (auto* v : {&times, &cpuTimes, &monitorTimes, &monitorCpu}) v->reserve(expected);
  std::atomic<bool> stop{false};
  const double process0 = cpuSeconds();
  mixer.setImmediate(false);  // rendered on a thread of its own from here on
  phones.setImmediate(false);
  bool realTime = false;
  std::thread engine([&] {
    // As a device's callback: above the key lock workers, which would otherwise preempt it.
    realTime = raiseCallbackThread();
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(256.0 / kRate));
    auto next = Clock::now();
    auto timed = [&](Mixer& m, std::vector<double>& wall, std::vector<double>& cpu) {
      double c0 = threadCpuMs();
      auto t0 = Clock::now();
      m.render(buffer.data(), 256);
      wall.push_back(seconds(Clock::now() - t0) * 1000);
      cpu.push_back(threadCpuMs() - c0);
    };
    while (!stop) {
      timed(mixer, times, cpuTimes);
      if (keyLock) timed(phones, monitorTimes, monitorCpu);
      next += period;
      std::this_thread::sleep_until(next);
    }
  });
  std::mt19937 random(3);
  for (auto until = Clock::now() + std::chrono::duration<double>(runSeconds); Clock::now() < until;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    deckA.setCurrentPosition(std::uniform_real_distribution<double>(0, 500)(random));
    deckB.setRate(std::uniform_real_distribution<double>(0.9, 1.1)(random));
    deckA.deliverEvents();
    deckB.deliverEvents();
    if (keyLock) monitor.update();
  }
  stop = true;
  engine.join();
  const double processCpu = cpuSeconds() - process0;
  std::printf("(c) audio callback at 256 frames, %zu callbacks over %.0f s: two decks on mp3 at rates 1.07 and\n"
              "    0.9 .. 1.1, a jump every 100 ms%s\n",
              times.size(), runSeconds, keyLock ? ", key lock on both and the monitor at 1.07" : "");
  std::printf("    the rendering thread %s real-time scheduling, as a device's callback\n", realTime ? "has" : "lacks");
  printCallbacks("main mixer", times, cpuTimes);
  if (keyLock) printCallbacks("monitor's mixer", monitorTimes, monitorCpu);
  if (keyLock) {
    // The stretching runs on each mixer's worker: frames a callback found not yet stretched.
    uint64_t late = 0;
    for (const Mixer* m : {&mixer, &phones})
      for (int v = 0; v < m->players(); ++v) late += m->voice(v).stretchLane().lateFrames();
    std::printf("    frames the callbacks found not yet stretched by the worker: %llu of %zu\n",
                static_cast<unsigned long long>(late), 3 * times.size() * 256);
    double callbacks = 0;
    for (const auto* v : {&cpuTimes, &monitorCpu})
      for (double ms : *v) callbacks += ms / 1000;
    std::printf("    CPU besides the callbacks (the key lock workers, the reader, this UI loop): %.1f %% of a core\n",
                100 * (processCpu - callbacks) / runSeconds);
  }
}

void memory(const std::string& a, const std::string& b) {
  long before = residentKilobytes();
  SoundSystemOptions options;
  options.virtualDevice = true;
  auto sound = createSoundSystem(options);
  sound->player(0).setFileName(a);
  sound->player(1).setFileName(b);
  sound->player(0).play();
  sound->player(1).play();
  for (int i = 0; i < 100; ++i) sound->renderVirtual(1323);
  long after = residentKilobytes();
  std::printf("(d) resident memory with two 10-minute songs loaded and playing: %.1f MB (target < 150 MB);\n"
              "    %.1f MB of it added by the sound system\n",
              after / 1024.0, (after - before) / 1024.0);
}

// Engine CPU (every thread) to play `seconds` of both decks at `rate`, flat or with the panel engaged.
double panelRun(const std::string& a, const std::string& b, double rate, bool engaged, double seconds) {
  SoundSystemOptions options;
  options.virtualDevice = true;
  auto sound = createSoundSystem(options);
  vx::platform::DjMixer& dj = sound->djMixer();
  for (int d = 0; d < 2; ++d) {
    sound->player(d).setFileName(d == 0 ? a : b);
    if (engaged) {
      dj.setEq(d, vx::platform::DjMixer::Low, 40);
      dj.setEq(d, vx::platform::DjMixer::Mid, -90);
      dj.setEq(d, vx::platform::DjMixer::High, 25);
      dj.setFilter(d, d == 0 ? -35 : 35);
    }
    sound->player(d).setRate(rate);
    sound->player(d).play();
  }
  double c0 = cpuSeconds();
  for (long done = 0; done < seconds * kRate; done += 1323) sound->renderVirtual(1323);
  return cpuSeconds() - c0;
}

void panelCost(const std::string& a, const std::string& b) {
  std::printf("(e) both decks on mp3, 60 s of output, median of 5 runs: every band and the filter engaged\n"
              "    against both decks flat (target <= 1.15x)\n");
  // At rate 1 the decks only decode; at 1.07, as when beat-matched, they also convert the rate.
  for (double rate : {1.0, 1.07}) {
    std::vector<double> flat, engaged;
    for (int run = 0; run < 5; ++run) {  // alternated, so that a busy moment of the machine hits both
      flat.push_back(panelRun(a, b, rate, false, 60));
      engaged.push_back(panelRun(a, b, rate, true, 60));
    }
    std::sort(flat.begin(), flat.end());
    std::sort(engaged.begin(), engaged.end());
    std::printf("    rate %.2f: flat %.3f s CPU, engaged %.3f s CPU (%.1f ns a frame a deck): ratio %.3f\n", rate, flat[2],
                engaged[2], (engaged[2] - flat[2]) / (60.0 * kRate * 2) * 1e9, engaged[2] / flat[2]);
  }
}

}  // namespace

// Key lock's cost: both decks and the monitor at 1.07 with and without it, and the callback with it.
void keyLockCost(const std::string& a, const std::string& b, const std::string& longA, const std::string& longB,
                 double ffmpegCpu, double callbackSeconds) {
  std::printf("(f) key lock\n");
  double without = realTimeFactor(a, b, 1.07, ffmpegCpu, false);
  double with = realTimeFactor(a, b, 1.07, ffmpegCpu, true);
  std::printf("    with key lock / without: %.2fx engine CPU\n", with / without);
  callbackTime(longA, longB, callbackSeconds, true);
}

int main(int argc, char** argv) {
  // "panel": only the DJ panel's cost (e); "keylock": only key lock's (f).
  bool panelOnly = argc > 1 && std::string(argv[1]) == "panel";
  bool keyLockOnly = argc > 1 && std::string(argv[1]) == "keylock";
  double callbackSeconds = argc > 1 && !panelOnly && !keyLockOnly ? std::atof(argv[1]) : 20;
  // Each figure is on the screen, or in the file, as soon as it is measured: a run stopped
  // early still shows what it finished.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string folder = (std::filesystem::temp_directory_path() / ("velvox-bench-" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(folder);
  std::printf("making test media...\n");
  std::fflush(stdout);
  if (panelOnly) {
    panelCost(makeSong(folder, "a.mp3", 3, 440), makeSong(folder, "b.mp3", 3, 660));
    std::filesystem::remove_all(folder);
    return 0;
  }
  std::string longA = makeSong(folder, "long-a.mp3", 10, 330);
  if (argc > 1 && std::string(argv[1]) == "seek") {  // only the seek, loop wrap and hot-cue figures (b)
    seekLatency(longA);
    std::filesystem::remove_all(folder);
    return 0;
  }
  std::string longB = makeSong(folder, "long-b.mp3", 10, 523);
  if (keyLockOnly) {
    std::string a = makeSong(folder, "a.mp3", 3, 440), b = makeSong(folder, "b.mp3", 3, 660);
    keyLockCost(a, b, longA, longB, ffmpegDecodeCpu(a, b), callbackSeconds);
    std::filesystem::remove_all(folder);
    return 0;
  }
  memory(longA, longB);
  std::string a = makeSong(folder, "a.mp3", 3, 440), b = makeSong(folder, "b.mp3", 3, 660);
  double ffmpegCpu = ffmpegDecodeCpu(a, b);
  realTimeFactor(a, b, 1.07, ffmpegCpu);
  realTimeFactor(a, b, 1.0, ffmpegCpu);
  panelCost(a, b);
  seekLatency(longA);
  callbackTime(longA, longB, callbackSeconds);
  keyLockCost(a, b, longA, longB, ffmpegCpu, callbackSeconds);
  std::filesystem::remove_all(folder);
  return 0;
}
