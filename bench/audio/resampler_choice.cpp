// Measures the two candidate rate converters on the job the decks give them: a stereo stream
// converted in 256-frame output blocks at a tempo of 1.07, then while the tempo glides. Prints
// CPU time per second of audio, the signal-to-noise ratio of a converted 1 kHz tone, whether the
// converter allocates memory once running (the audio callback must not), and where a step in
// the input lands at tempo 1 (a jump must land on its frame).
#include <samplerate.h>
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

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

constexpr int kRate = 44100;
constexpr int kBlock = 256;
constexpr double kTone = 1000;

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

std::vector<float> tone(int frames) {
  std::vector<float> v(frames * 2);
  for (int i = 0; i < frames; ++i) v[2 * i] = v[2 * i + 1] = static_cast<float>(0.5 * std::sin(2 * M_PI * kTone * i / kRate));
  return v;
}

// Residual power against the best-fitting sine at `hz`, in dB below the tone (left channel).
double snrDb(const std::vector<float>& y, size_t skip, double hz) {
  double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
  for (size_t i = skip; i < y.size() / 2; ++i) {
    double s = std::sin(2 * M_PI * hz * i / kRate), c = std::cos(2 * M_PI * hz * i / kRate);
    ss += s * s; cc += c * c; sc += s * c; ys += y[2 * i] * s; yc += y[2 * i] * c;
  }
  double det = ss * cc - sc * sc;
  double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
  double signal = 0, noise = 0;
  for (size_t i = skip; i < y.size() / 2; ++i) {
    double fit = a * std::sin(2 * M_PI * hz * i / kRate) + b * std::cos(2 * M_PI * hz * i / kRate);
    signal += fit * fit;
    noise += (y[2 * i] - fit) * (y[2 * i] - fit);
  }
  return 10 * std::log10(signal / noise);
}

// One converter: produce(out, frames, ratio) fills `frames` output frames, pulling input itself.
using Produce = std::function<void(float*, int, double)>;

struct Result {
  double cpuPerSecond;
  double worstBlockMicroseconds;
  double snr;
  double glideJump;  // largest second difference while the tempo glides, over the clean tone's
  long allocations;  // while running, after the first second
  double edge;       // where a step between input frames 999 and 1000 comes out at tempo 1
};

// Converts a step (-0.5 before frame 1000, 0.5 from it on) at tempo 1 and finds where the output
// crosses zero; 999.5 is where it belongs.
double edgeAtTempoOne(const Produce& produce) {
  std::vector<float> out(2048 * 2);
  produce(out.data(), 2048, 1.0);
  for (int i = 1; i < 2048; ++i)
    if (out[2 * (i - 1)] < 0 && out[2 * i] >= 0) return (i - 1) + out[2 * (i - 1)] / (out[2 * (i - 1)] - out[2 * i]);
  return -1;
}

// While the tempo swings between 0.8 and 1.25 every second, a click shows as a second difference
// far above that of a clean tone at the highest frequency reached.
double glideJump(const Produce& produce) {
  std::vector<float> out(kRate / kBlock * kBlock * 4 * 2);
  for (size_t done = 0, block = 0; done < out.size(); done += kBlock * 2, ++block) {
    double t = static_cast<double>(block * kBlock) / kRate;
    produce(out.data() + done, kBlock, 1.025 + 0.225 * std::sin(2 * M_PI * t));
  }
  double worst = 0;
  for (size_t i = 4096; i + 2 < out.size() / 2; ++i)
    worst = std::max(worst, std::fabs(static_cast<double>(out[2 * i + 4]) - 2 * out[2 * i + 2] + out[2 * i]));
  double w = 2 * M_PI * kTone * 1.25 / kRate;
  return worst / (0.5 * w * w);
}

Result run(const Produce& produce, int seconds) {
  std::vector<float> out(static_cast<size_t>(seconds) * kRate / kBlock * kBlock * 2);
  double worst = 0;
  double t0 = cpuSeconds();
  for (size_t done = 0; done < out.size(); done += kBlock * 2) {
    counting = done > static_cast<size_t>(kRate) * 2;
    double b0 = cpuSeconds();
    produce(out.data() + done, kBlock, 1.07);
    worst = std::max(worst, cpuSeconds() - b0);
  }
  counting = false;
  double cpu = cpuSeconds() - t0;
  long allocated = allocations;
  allocations = 0;
  return {cpu / seconds, worst * 1e6, snrDb(out, 4096, kTone * 1.07), glideJump(produce), allocated, 0};
}

std::vector<float> step() {
  std::vector<float> v(8192 * 2);
  for (int i = 0; i < 8192; ++i) v[2 * i] = v[2 * i + 1] = i < 1000 ? -0.5f : 0.5f;
  return v;
}

// `fresh(signal)` starts a new converter on `signal`; `produce` converts from it.
template <typename Fresh>
Result measure(Fresh& fresh, const Produce& produce, int seconds) {
  fresh(step());
  double edge = edgeAtTempoOne(produce);
  fresh(tone(seconds * kRate * 3));
  Result r = run(produce, seconds);
  r.edge = edge;
  return r;
}

Result runSoxr(unsigned long recipe, int seconds) {
  soxr_error_t error = nullptr;
  soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  soxr_quality_spec_t q = soxr_quality_spec(recipe, SOXR_VR);
  std::vector<float> in;
  size_t pos = 0;
  soxr_t s = nullptr;
  auto fresh = [&](std::vector<float> signal) {
    if (s) soxr_delete(s);
    s = soxr_create(2.0, 1.0, 2, &error, &io, &q, nullptr);
    soxr_set_io_ratio(s, 1.0, 0);
    in = std::move(signal);
    pos = 0;
  };
  auto produce = [&](float* out, int frames, double ratio) {
    soxr_set_io_ratio(s, ratio, kBlock);
    size_t made = 0;
    while (made < static_cast<size_t>(frames)) {
      size_t idone = 0, odone = 0;
      soxr_process(s, in.data() + pos * 2, 64, &idone, out + made * 2, frames - made, &odone);
      pos += idone;
      made += odone;
    }
  };
  Result r = measure(fresh, produce, seconds);
  soxr_delete(s);
  return r;
}

Result runSamplerate(int type, int seconds) {
  int error = 0;
  std::vector<float> in;
  size_t pos = 0;
  SRC_STATE* s = nullptr;
  auto fresh = [&](std::vector<float> signal) {
    if (s) src_delete(s);
    s = src_new(type, 2, &error);
    in = std::move(signal);
    pos = 0;
  };
  auto produce = [&](float* out, int frames, double ratio) {
    long made = 0;
    while (made < frames) {
      SRC_DATA d{};
      d.data_in = in.data() + pos * 2;
      d.input_frames = 64;
      d.data_out = out + made * 2;
      d.output_frames = frames - made;
      d.src_ratio = 1.0 / ratio;
      src_process(s, &d);
      pos += d.input_frames_used;
      made += d.output_frames_gen;
    }
  };
  Result r = measure(fresh, produce, seconds);
  src_delete(s);
  return r;
}

}  // namespace

int main() {
  const int seconds = 20;
  struct Row {
    const char* name;
    Result r;
  };
  Row rows[] = {
      {"soxr VR, high quality", runSoxr(SOXR_HQ, seconds)},
      {"libsamplerate sinc fastest", runSamplerate(SRC_SINC_FASTEST, seconds)},
      {"libsamplerate sinc medium", runSamplerate(SRC_SINC_MEDIUM_QUALITY, seconds)},
      {"libsamplerate sinc best", runSamplerate(SRC_SINC_BEST_QUALITY, seconds)},
  };
  std::printf("rate converter at tempo 1.07, 256-frame blocks, stereo, %d s of a 1 kHz tone\n", seconds);
  for (const Row& row : rows)
    std::printf("  %-28s %.2f %% of a core, worst block %.0f us, SNR %.1f dB, glide jump %.2f of a clean tone's,\n"
                "  %-28s %ld allocations while running, a step at 999.5 comes out at %.2f\n",
                row.name, 100 * row.r.cpuPerSecond, row.r.worstBlockMicroseconds, row.r.snr, row.r.glideJump, "",
                row.r.allocations, row.r.edge);
  return 0;
}
