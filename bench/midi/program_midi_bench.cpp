// MIDI on the program's own controls: a controller's message from the port's thread to the
// crossfader moved by its mouse handlers on the window thread, while both decks play (on the test
// fakes: the engine's callback shares nothing with MIDI, so its stand-in here is a thread woken
// every 256 frames at 48 kHz whose lateness is measured); what 10,000 messages a second cost and
// whether they make that thread late; and the idle cost of three connected, silent controllers
// (the system's real ports: JACK when a server runs, else ALSA) against no ports at all. Under
// JACK each open input is a client the server runs every period (RtMidi makes one per port), so
// that share is the floor of the figure; a port scan or a wake-up of the program's own would show
// above it.
#include <rtmidi/RtMidi.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "assembly/midi_host.h"
#include "midi/ports.h"
#include "bench/bench_timing.h"
#include "tests/support/test_program.h"

namespace {

using Clock = std::chrono::steady_clock;
using vx::assembly::MidiHost;

int64_t nowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

// The window thread: sleeps until the wake-up, drains as MidiHost asks (waiting out the 2 ms),
// and notes when the crossfader's knob last moved.
struct Window {
  explicit Window(vx::test::TestProgram& t, bool realPorts) : t(t) {
    host = std::make_unique<MidiHost>(t.p, [this] { wake(); }, realPorts);
    host->start();
    thread = std::thread([this] { run(); });
  }
  ~Window() {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    cv.notify_one();
    thread.join();
  }
  void wake() {
    std::lock_guard lock(mutex);
    woken = true;
    cv.notify_one();
  }
  void run() {
    std::unique_lock lock(mutex);
    while (!stop) {
      cv.wait(lock, [&] { return woken || stop; });
      woken = false;
      lock.unlock();
      for (;;) {
        const auto wait = host->drain();
        if (wait.count() == 0) break;
        std::this_thread::sleep_for(wait);
      }
      const double left = t.form().picture("Faderbtn").left();
      if (left != lastLeft) {
        lastLeft = left;
        movedNs.store(nowNs());
        moves.fetch_add(1);
      }
      lock.lock();
    }
  }

  vx::test::TestProgram& t;
  std::unique_ptr<MidiHost> host;
  std::mutex mutex;
  std::condition_variable cv;
  bool woken = false, stop = false;
  double lastLeft = 5130;
  std::atomic<int64_t> movedNs{0};
  std::atomic<int> moves{0};
  std::thread thread;
};

// Wakes every 256 frames at 48 kHz, as an audio callback would, and records how late it woke.
struct AudioStandIn {
  AudioStandIn() {
    thread = std::thread([this] {
      const auto period = std::chrono::nanoseconds(256 * 1000000000LL / 48000);
      auto next = Clock::now() + period;
      while (!stop.load()) {
        std::this_thread::sleep_until(next);
        const double late = std::chrono::duration<double, std::milli>(Clock::now() - next).count();
        {
          std::lock_guard lock(mutex);
          lateness.push_back(late);
        }
        next += period;
      }
    });
  }
  ~AudioStandIn() {
    stop = true;
    thread.join();
  }
  // The p99 lateness since the last call, in ms.
  double p99() {
    std::lock_guard lock(mutex);
    std::vector<double> l;
    l.swap(lateness);
    if (l.empty()) return 0;
    std::sort(l.begin(), l.end());
    return l[l.size() * 99 / 100];
  }
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::vector<double> lateness;
  std::thread thread;
};

void learnCrossfader(Window& w) {
  // Bound as a learned file would have it: CC 8 on channel 1, absolute, on the port "Bench".
  std::filesystem::path file = w.host->system().mappingPath("Bench");
  {
    std::FILE* f = std::fopen(file.c_str(), "w");
    std::fputs("cc 1 8 Faderbtn absolute\n", f);
    std::fclose(f);
  }
  w.host->system().portOpened({1, "Bench", true, false});
}

// Three silent virtual controllers in a child process of their own (each a client the MIDI
// system runs: under JACK every period), so that this process's CPU time is the program's alone.
// Returns the child's id once its ports are there.
pid_t makeControllers() {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    std::vector<std::unique_ptr<RtMidiOut>> controllers;
    const auto api = vx::midi::jackServerRunning() ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
    for (int i = 0; i < 3; ++i) {
      try {
        controllers.push_back(std::make_unique<RtMidiOut>(api, "BenchController" + std::to_string(i)));
        controllers.back()->openVirtualPort("out");
      } catch (const RtMidiError&) {
      }
    }
    const char made = static_cast<char>(controllers.size());
    [[maybe_unused]] const auto n = write(ready[1], &made, 1);
    pause();
    _exit(0);
  }
  char made = 0;
  if (child < 0 || read(ready[0], &made, 1) != 1) made = 0;
  close(ready[0]);
  close(ready[1]);
  std::printf("idle: %d silent controllers made in a child process\n", made);
  return child;
}

// This process's CPU time over `seconds` of a window without any message; realPorts: the
// program opens the system's ports.
double idleSeconds(bool realPorts, double seconds) {
  vx::test::TestProgram t;
  t.p.homeDir = std::filesystem::temp_directory_path().string();
  Window w(t, realPorts);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the first scan opened them
  const size_t open = w.host->system().portNames().size();
  const double cpu0 = vx::bench::cpuSeconds();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const double cpu = vx::bench::cpuSeconds() - cpu0;
  if (realPorts) std::printf("idle: %zu controllers open in the program\n", open);
  return cpu;
}

}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path() / ("velvox-program-midi-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  {
    vx::test::TestProgram t;
    t.p.homeDir = folder.string();
    for (int deck = 0; deck < 2; ++deck) {
      t.addSong(deck, "/music/deck" + std::to_string(deck) + ".mp3");
      t.player(deck).state = vx::platform::Playing;
    }
    AudioStandIn audio;
    Window w(t, false);
    learnCrossfader(w);
    auto& queue = w.host->queue();
    queue.push({1, 3, {0xB0, 0x08, 0x40}, nowNs()});  // meets the knob in the middle
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    std::vector<double> latencies;
    for (int i = 0; i < 1000; ++i) {
      const int before = w.moves.load();
      const int64_t sent = nowNs();
      queue.push({1, 3, {0xB0, 0x08, uint8_t(i % 2 ? 0x40 : 0x41)}, sent});
      while (w.moves.load() == before) std::this_thread::yield();
      latencies.push_back((w.movedNs.load() - sent) * 1e-6);
      std::this_thread::sleep_for(std::chrono::milliseconds(3));  // a hand on a fader
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("message to crossfader moved, both decks playing: median %.3f ms, p99 %.3f ms (targets 1 ms, 5 ms)\n",
                latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100]);

    const auto second = [&](bool flood) {
      audio.p99();
      const double cpu0 = vx::bench::cpuSeconds();
      const auto start = Clock::now();
      for (int i = 0; i < 10000; ++i) {
        if (flood) queue.push({1, 3, {0xB0, 0x08, uint8_t(0x3E + i % 5)}, nowNs()});
        std::this_thread::sleep_until(start + std::chrono::microseconds(100 * (i + 1)));
      }
      return std::pair{vx::bench::cpuSeconds() - cpu0, audio.p99()};
    };
    const auto [idleCpu, idleLate] = second(false);
    const int before = w.moves.load();
    const auto [floodCpu, floodLate] = second(true);
    std::printf("10,000 messages a second: %.2f %% of a core (the same second without: %.2f %%), %d crossfader moves, "
                "%llu dropped\n",
                floodCpu * 100, idleCpu * 100, w.moves.load() - before, static_cast<unsigned long long>(queue.dropped()));
    std::printf("audio stand-in p99 lateness: %.3f ms in the flood, %.3f ms without; ratio %.2f\n", floodLate, idleLate,
                floodLate / std::max(idleLate, 1e-6));
    std::printf("%-40s ratio %.3f (extra %.2f %% of a core)\n", "flood second against the quiet one", floodCpu / idleCpu,
                (floodCpu - idleCpu) * 100);
  }
  const pid_t controllers = makeControllers();
  constexpr double kSeconds = 10;
  const double none = idleSeconds(false, kSeconds);
  const double opened = idleSeconds(true, kSeconds);
  if (controllers > 0) {
    kill(controllers, SIGKILL);
    waitpid(controllers, nullptr, 0);
  }
  std::printf("idle %.0f s, three silent controllers: %.3f ms CPU with the ports open, %.3f ms without: the ports' "
              "share %.3f %% of a core (target 0); ratio %.2f\n",
              kSeconds, opened * 1e3, none * 1e3, (opened - none) / kSeconds * 100, opened / std::max(none, 1e-9));
  std::filesystem::remove_all(folder);
}
