// What recording the main output costs the engine: rendering two playing decks with the master
// tap copying every block into the recorder's ring, against the same rendering without a
// recording, measured in one run. Prints the times and their ratio.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "audio/decode/reader.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/master_tap.h"
#include "audio/engine/mixer.h"
#include "audio/realtime/capture_ring.h"
#include "bench/bench_timing.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 256;
constexpr int kBlocks = 2000;  // about 11.6 s of sound

// A 16-bit stereo WAV of a quiet tone.
void writeTone(const std::string& path, double hz) {
  const int frames = kRate * 20;
  std::vector<int16_t> data(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i)
    data[2 * static_cast<size_t>(i)] = data[2 * static_cast<size_t>(i) + 1] =
        static_cast<int16_t>(8000 * std::sin(2 * M_PI * hz * i / kRate));
  FILE* f = std::fopen(path.c_str(), "wb");
  auto u32 = [f](uint32_t v) { std::fwrite(&v, 4, 1, f); };
  auto u16 = [f](uint16_t v) { std::fwrite(&v, 2, 1, f); };
  std::fwrite("RIFF", 1, 4, f);
  u32(36 + static_cast<uint32_t>(data.size() * 2));
  std::fwrite("WAVEfmt ", 1, 8, f);
  u32(16); u16(1); u16(2); u32(kRate); u32(kRate * 4); u16(4); u16(16);
  std::fwrite("data", 1, 4, f);
  u32(static_cast<uint32_t>(data.size() * 2));
  std::fwrite(data.data(), 2, data.size(), f);
  std::fclose(f);
}

}  // namespace

int main() {
  using namespace vx::audio;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "velvox-recording-bench";
  std::filesystem::create_directories(dir);
  writeTone((dir / "a.wav").string(), 440);
  writeTone((dir / "b.wav").string(), 660);

  Reader reader;
  Mixer mixer(2, kRate);
  DeckPlayer a(0, mixer, reader), b(1, mixer, reader);
  a.setFileName((dir / "a.wav").string());
  b.setFileName((dir / "b.wav").string());
  a.play();
  b.play();
  MasterTap tap(mixer, false);  // as on a real device: the benchmark drains the ring itself
  CaptureRing ring(static_cast<size_t>(kRate) * 2 * 10);
  std::vector<float> out(kBlock * 2), drain(kBlock * 2);
  auto render = [&] {
    for (int i = 0; i < kBlocks; ++i) {
      reader.waitIdle();
      mixer.render(out.data(), kBlock);
      reader.wake();
      ring.read(drain.data(), drain.size());  // the writer's side, so the ring never fills
    }
  };
  auto rewind = [&] {
    a.setCurrentPosition(0);
    b.setCurrentPosition(0);
  };
  double plain = vx::bench::medianSeconds(5, render, rewind);
  CaptureFormat delivered;
  std::string error;
  tap.start({kRate, 2}, ring, delivered, error);
  double tapped = vx::bench::medianSeconds(5, render, rewind);
  tap.stop();
  vx::bench::report("two decks, recording the master", tapped, "two decks, no recording", plain);
  std::printf("samples lost by the ring: %llu\n", static_cast<unsigned long long>(ring.lost()));
  std::filesystem::remove_all(dir);
  return 0;
}
