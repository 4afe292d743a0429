// Finds dropouts in a recording of a sink: runs of silence inside sound that never falls silent
// by itself (the benchmark's songs are noise under a tone). Reads raw interleaved stereo float32
// at 44.1 kHz, as parec --format=float32le writes it; silence before the first sound and after
// the last is the start and the end of the recording, not a gap.
//
//   bench_gaps FILE [MIN_MS]    prints "gaps N" and one line per gap: start second, length ms.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr double kRate = 44100;
constexpr float kSilence = 1e-4f;  // below -80 dBFS on both channels

struct Gap {
  long start;
  long frames;
};

std::vector<float> readAll(const char* path) {
  std::vector<float> samples;
  FILE* f = std::fopen(path, "rb");
  if (!f) return samples;
  float buffer[8192];
  for (size_t n; (n = std::fread(buffer, sizeof(float), 8192, f)) > 0;) samples.insert(samples.end(), buffer, buffer + n);
  std::fclose(f);
  return samples;
}

std::vector<Gap> findGaps(const std::vector<float>& s, long minFrames) {
  long frames = static_cast<long>(s.size() / 2);
  auto quiet = [&](long i) { return std::fabs(s[2 * i]) < kSilence && std::fabs(s[2 * i + 1]) < kSilence; };
  long first = 0, last = frames - 1;
  while (first < frames && quiet(first)) ++first;
  while (last > first && quiet(last)) --last;
  std::vector<Gap> gaps;
  for (long i = first; i <= last;) {
    if (!quiet(i)) {
      ++i;
      continue;
    }
    long start = i;
    while (i <= last && quiet(i)) ++i;
    if (i - start >= minFrames) gaps.push_back({start, i - start});
  }
  return gaps;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_gaps FILE [MIN_MS]\n");
    return 2;
  }
  double minMs = argc > 2 ? std::atof(argv[2]) : 1.0;
  std::vector<float> samples = readAll(argv[1]);
  std::vector<Gap> gaps = findGaps(samples, static_cast<long>(minMs * kRate / 1000));
  std::printf("gaps %zu in %.1f s\n", gaps.size(), samples.size() / 2 / kRate);
  for (const Gap& g : gaps) std::printf("  at %.3f s: %.1f ms\n", g.start / kRate, g.frames * 1000 / kRate);
  return 0;
}
