// The sampler's cost, measured in one run:
//   (a) offline real-time factor of both decks on mp3 at rate 1.07, alone and with all eight
//       sampler slots looping, each through two effects; the sampler's share against the decks'
//       (target: the sampler costs at most what the two decks cost);
//   (b) the audio callback's worst time at 256 frames with all of it running, against its
//       5.8 ms budget (target < 20 %).
// Test media are made with the ffmpeg command line tool in a temporary folder.
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
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/deck_player.h"
#include "audio/mixer.h"
#include "audio/reader.h"
#include "audio/sampler_device.h"
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
  Reader reader;
  Mixer mixer{2, kRate};
  DeckPlayer deckA{0, mixer, reader}, deckB{1, mixer, reader};
  SamplerDevice sampler{mixer};
  std::vector<std::unique_ptr<vx::platform::SoundBuffer>> slots;

  Rig(const std::string& a, const std::string& b, const std::vector<std::string>& samples) {
    deckA.setFileName(a);
    deckB.setFileName(b);
    deckA.setRate(1.07);
    deckB.setRate(1.07);
    deckA.play();
    deckB.play();
    sampler.create();
    const char* pairs[4][2] = {{"GUID_DSFX_STANDARD_ECHO", "GUID_DSFX_STANDARD_CHORUS"},
                               {"GUID_DSFX_STANDARD_FLANGER", "GUID_DSFX_STANDARD_COMPRESSOR"},
                               {"GUID_DSFX_STANDARD_DISTORTION", "GUID_DSFX_STANDARD_PARAMEQ"},
                               {"GUID_DSFX_STANDARD_GARGLE", "GUID_DSFX_STANDARD_ECHO"}};
    for (size_t i = 0; i < samples.size(); ++i) {
      vx::platform::SoundResult r;
      auto buffer = sampler.createBufferFromFile(samples[i], i % 2 == 0 ? 0x290 : 0x2C0, r);
      if (!buffer) std::exit(1);
      buffer->setEffects({pairs[i % 4][0], pairs[i % 4][1]}, nullptr);
      buffer->setVolume(-600);
      if (auto* space = buffer->spatial()) space->setPosition(static_cast<float>(i) - 3, 0, 2);
      buffer->play(vx::platform::kPlayLooping);
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

void callbackTime(const std::string& a, const std::string& b, const std::vector<std::string>& samples, double runSeconds) {
  Rig rig(a, b, samples);
  std::vector<float> block(256 * 2);
  std::vector<double> times;
  times.reserve(static_cast<size_t>(runSeconds * kRate / 256) + 16);
  std::atomic<bool> stop{false};
  rig.mixer.setImmediate(false);
  std::thread engine([&] {
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(256.0 / kRate));
    auto next = Clock::now();
    while (!stop) {
      auto t0 = Clock::now();
      rig.mixer.render(block.data(), 256);
      times.push_back(seconds(Clock::now() - t0) * 1000);
      next += period;
      std::this_thread::sleep_until(next);
    }
  });
  // The UI moves things while it plays: a slider on an effect, a retrigger, a new place.
  for (auto until = Clock::now() + std::chrono::duration<double>(runSeconds); Clock::now() < until;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (size_t i = 0; i < rig.slots.size(); ++i) {
      rig.slots[i]->setCurrentPosition(0);
      if (auto* space = rig.slots[i]->spatial()) space->setPosition(static_cast<float>(i) - 4, 0, 1);
    }
  }
  stop = true;
  engine.join();
  rig.mixer.setImmediate(true);
  std::sort(times.begin(), times.end());
  double budget = 256.0 / kRate * 1000;
  std::printf("(b) audio callback at 256 frames, %zu callbacks over %.0f s: both decks at 1.07 and eight looping\n"
              "    slots with two effects each, every slot retriggered and moved every 100 ms\n",
              times.size(), runSeconds);
  std::printf("    worst %.3f ms = %.1f %% of the %.2f ms budget (target < 20 %%); 99.9th percentile %.3f ms, median %.3f ms\n",
              times.back(), 100 * times.back() / budget, budget, times[times.size() * 999 / 1000], times[times.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  double length = argc > 1 ? std::atof(argv[1]) : 60;
  double callbackSeconds = argc > 2 ? std::atof(argv[2]) : 20;
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
  callbackTime(a, b, samples, callbackSeconds);
  std::filesystem::remove_all(folder);
  return 0;
}
