// Measures Rubber Band's two engines on the job key lock gives them: stereo at 44.1 kHz stretched
// to a tempo of 1.07, pulled in 256-frame output blocks as the deck voice pulls them. Prints, for
// R2 ("faster") and R3 ("finer"): CPU time per second of audio, the worst block and a jump's
// priming against the 256-frame budget, allocations once running, and the sound: how far a
// two-note chord's output is from the two pure notes (residual in dB), the frequency of a 440 Hz
// tone, and how far clicks of a 120 BPM track land from their beats.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "audio/engine/time_stretch.h"

// Every allocation is counted while `counting` is set.
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
static bool counting = false;
static long allocations = 0;
extern "C" void* malloc(size_t n) {
  if (counting) ++allocations;
  return __libc_malloc(n);
}
extern "C" void* calloc(size_t a, size_t n) {
  if (counting) ++allocations;
  return __libc_calloc(a, n);
}
extern "C" void* realloc(void* p, size_t n) {
  if (counting) ++allocations;
  return __libc_realloc(p, n);
}

namespace {

using vx::audio::TimeStretch;
constexpr int kRate = 44100;
constexpr int kBlock = 256;
constexpr double kTempo = 1.07;
constexpr double kBudgetUs = 1e6 * kBlock / kRate;

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::vector<float> chord(int frames) {
  std::vector<float> v(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i)
    v[2 * i] = v[2 * i + 1] =
        static_cast<float>(0.3 * std::sin(2 * M_PI * 440.0 * i / kRate) + 0.3 * std::sin(2 * M_PI * 554.37 * i / kRate));
  return v;
}

std::vector<float> clicks(int frames) {
  std::vector<float> v(static_cast<size_t>(frames) * 2);
  const int burst = kRate * 3 / 1000;
  for (int at = 0; at + burst < frames; at += kRate / 2)
    for (int i = 0; i < burst; ++i)
      v[2 * (at + i)] = v[2 * (at + i) + 1] = static_cast<float>(
          0.8 * (0.5 - 0.5 * std::cos(2 * M_PI * i / burst)) * std::sin(2 * M_PI * 3000.0 * i / kRate));
  return v;
}

struct Run {
  std::vector<float> out;
  double cpuPerSecond = 0;
  double worstUs = 0;
};

// Pulls the stretched signal in blocks, feeding what the stretcher asks for.
// The stretcher was reset just before (a jump primes it outside this count).
// With `count`, the allocations of the loop (the stretcher's only) are counted.
Run stretch(TimeStretch& s, const std::vector<float>& in, bool count = false) {
  Run run;
  size_t fed = 0;
  const size_t frames = in.size() / 2;
  std::vector<float> block(kBlock * 2);
  run.out.reserve(in.size() * 5);  // room for any tempo down to 0.25: counted allocations are the stretcher's
  double cpu0 = cpuSeconds();
  counting = count;
  while (!s.drained()) {
    auto t0 = std::chrono::steady_clock::now();
    int made = 0;
    while (made < kBlock) {
      made += s.take(block.data() + 2 * made, kBlock - made);
      int want = s.wanted();
      if (made == kBlock || want == 0) break;
      int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(want), frames - fed));
      s.feed(in.data() + 2 * fed, n, fed + static_cast<size_t>(n) >= frames);
      fed += static_cast<size_t>(n);
    }
    double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    run.worstUs = std::max(run.worstUs, us);
    run.out.insert(run.out.end(), block.begin(), block.begin() + 2 * made);
    if (made == 0 && s.wanted() == 0) break;
  }
  counting = false;
  run.cpuPerSecond = (cpuSeconds() - cpu0) / (static_cast<double>(frames) / kRate);
  return run;
}

// Residual against the best fit of the two notes, in dB below the signal (left channel).
double chordResidualDb(const std::vector<float>& y, size_t from, size_t to) {
  const double hz[2] = {440.0, 554.37};
  double a[4][4] = {}, b[4] = {};
  for (size_t i = from; i < to; ++i) {
    double basis[4];
    for (int k = 0; k < 2; ++k) {
      basis[2 * k] = std::sin(2 * M_PI * hz[k] * i / kRate);
      basis[2 * k + 1] = std::cos(2 * M_PI * hz[k] * i / kRate);
    }
    for (int r = 0; r < 4; ++r) {
      b[r] += basis[r] * y[2 * i];
      for (int c = 0; c < 4; ++c) a[r][c] += basis[r] * basis[c];
    }
  }
  for (int p = 0; p < 4; ++p)  // Gaussian elimination; the system is well conditioned
    for (int r = p + 1; r < 4; ++r) {
      double f = a[r][p] / a[p][p];
      for (int c = p; c < 4; ++c) a[r][c] -= f * a[p][c];
      b[r] -= f * b[p];
    }
  double x[4];
  for (int r = 3; r >= 0; --r) {
    x[r] = b[r];
    for (int c = r + 1; c < 4; ++c) x[r] -= a[r][c] * x[c];
    x[r] /= a[r][r];
  }
  double signal = 0, residual = 0;
  for (size_t i = from; i < to; ++i) {
    double fit = 0;
    for (int k = 0; k < 2; ++k)
      fit += x[2 * k] * std::sin(2 * M_PI * hz[k] * i / kRate) + x[2 * k + 1] * std::cos(2 * M_PI * hz[k] * i / kRate);
    signal += fit * fit;
    residual += (y[2 * i] - fit) * (y[2 * i] - fit);
  }
  return 10 * std::log10(residual / signal);
}

// Largest distance in ms of a click's energy centre from its beat at the new tempo.
double worstClickMs(const std::vector<float>& y) {
  double worst = 0;
  const size_t frames = y.size() / 2;
  const double beat = kRate / 2 / kTempo, centre = 0.0015 * kRate / kTempo;
  for (int k = 0;; ++k) {
    double expected = centre + k * beat;
    size_t a = static_cast<size_t>(std::max(0.0, expected - 0.02 * kRate)), b = static_cast<size_t>(expected + 0.02 * kRate);
    if (b >= frames) break;
    double sum = 0, weighted = 0;
    for (size_t i = a; i < b; ++i) {
      double e = double(y[2 * i]) * y[2 * i];
      sum += e;
      weighted += e * static_cast<double>(i);
    }
    if (sum > 0) worst = std::max(worst, std::fabs(weighted / sum - expected) * 1000.0 / kRate);
  }
  return worst;
}

}  // namespace

int main() {
  const int seconds = 20;
  const std::vector<float> notes = chord(seconds * kRate), beats = clicks(seconds * kRate);
  std::printf("Rubber Band engines at tempo %.2f, 44.1 kHz stereo, %d-frame blocks (budget %.0f us)\n", kTempo,
              kBlock, kBudgetUs);
  std::printf("%-12s %10s %10s %10s %8s %12s %10s %10s\n", "engine", "cpu/s", "worst %", "jump %", "allocs",
              "chord dB", "440 Hz", "click ms");
  for (TimeStretch::Engine engine : {TimeStretch::Engine::Faster, TimeStretch::Engine::Finer}) {
    TimeStretch s(engine);
    s.prepare(kRate);
    s.reset(kTempo);
    Run warm = stretch(s, notes);  // first touches of every buffer
    s.reset(kTempo);
    allocations = 0;
    Run run = stretch(s, notes, true);
    auto t0 = std::chrono::steady_clock::now();
    s.reset(kTempo);
    double jumpUs = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    const size_t from = kRate, to = static_cast<size_t>(seconds / kTempo * kRate) - kRate;
    double residual = chordResidualDb(run.out, from, to);
    Run tone = stretch(s, beats);  // reset by the jump timed above
    // The frequency of one note alone: zero crossings of the chord would mislead.
    std::vector<float> a(static_cast<size_t>(5 * kRate) * 2);
    for (int i = 0; i < 5 * kRate; ++i) a[2 * i] = a[2 * i + 1] = static_cast<float>(0.5 * std::sin(2 * M_PI * 440.0 * i / kRate));
    s.reset(kTempo);
    Run single = stretch(s, a);
    int crossings = 0;
    double first = -1, last = 0;
    for (size_t i = kRate / 2; i + 1 < single.out.size() / 2 - kRate / 2; ++i)
      if (single.out[2 * i] <= 0 && single.out[2 * i + 2] > 0) {
        double at = i + single.out[2 * i] / (single.out[2 * i] - single.out[2 * i + 2]);
        if (first < 0) first = at;
        last = at;
        ++crossings;
      }
    (void)warm;
    std::printf("%-12s %9.1f%% %9.1f%% %9.1f%% %8ld %12.1f %10.2f %10.2f\n",
                engine == TimeStretch::Engine::Faster ? "R2 faster" : "R3 finer", 100 * run.cpuPerSecond,
                100 * run.worstUs / kBudgetUs, 100 * jumpUs / kBudgetUs, allocations, residual,
                (crossings - 1) / ((last - first) / kRate), worstClickMs(tone.out));
  }
  return 0;
}
