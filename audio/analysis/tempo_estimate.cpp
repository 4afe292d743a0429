#include "audio/analysis/tempo_estimate.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numeric>
#include <optional>

namespace vx::audio {
namespace {

// Mono near 5.5 kHz: the beat lives far below 2.7 kHz, and the onset detector then does an
// eighth of the work it would do at 44.1 kHz.
constexpr int kAnalysisRate = 5512;
constexpr int kWindow = 256;
constexpr int kHop = 64;  // 11.6 ms at 5.5 kHz
constexpr int kReadFrames = 4096;
// The onset envelope's own level is taken away over this many hops each side, so that a
// loud held stretch does not count as onsets.
constexpr int kLocalMeanHops = 8;
// Harmonics of the beat period summed by the comb and by the exact period search.
constexpr int kHarmonics = 4;
// An onset counts for a beat when it lies this close to the grid.
constexpr double kBeatTolerance = 0.025;
// Beats needed for a tempo: a shorter song says too little.
constexpr int kMinBeats = 16;
// Share of the beats within the song's beating stretch that must have an onset on the grid;
// the lower share for a grid at a whole tempo, which a song without a beat rarely lands on
// (measured on the real-song table: sparse songs made at a whole tempo have 0.28 to 0.5).
constexpr double kMinOnGrid = 0.5;
constexpr double kMinOnWholeGrid = 0.25;
// Songs made in trackers and sequencers sit on whole beats per minute: a fit this close to one
// is taken as that number.
constexpr double kWholeTempoShare = 0.001;

struct Peak {
  double beat = 0;  // beat number on the rough grid
  double hop = 0;   // where the onset peaks, in hops (fractional)
};

double interpolated(const std::vector<double>& v, double at) {
  const auto i = static_cast<size_t>(at);
  if (at < 0 || i + 1 >= v.size()) return 0;
  const double frac = at - static_cast<double>(i);
  return v[i] * (1 - frac) + v[i + 1] * frac;
}

// The onset envelope with its local mean taken away, negative values cut.
std::vector<double> onsetStrength(const std::vector<float>& flux) {
  const auto n = static_cast<long>(flux.size());
  std::vector<double> prefix(flux.size() + 1, 0);
  for (long i = 0; i < n; ++i) prefix[static_cast<size_t>(i) + 1] = prefix[static_cast<size_t>(i)] + flux[static_cast<size_t>(i)];
  std::vector<double> out(flux.size());
  for (long i = 0; i < n; ++i) {
    const long lo = std::max(0L, i - kLocalMeanHops), hi = std::min(n, i + kLocalMeanHops + 1);
    const double mean = (prefix[static_cast<size_t>(hi)] - prefix[static_cast<size_t>(lo)]) / static_cast<double>(hi - lo);
    out[static_cast<size_t>(i)] = std::max(0.0, flux[static_cast<size_t>(i)] - mean);
  }
  return out;
}

std::vector<double> autocorrelation(const std::vector<double>& o, size_t maxLag) {
  std::vector<double> ac(maxLag + 2, 0);
  for (size_t lag = 1; lag < ac.size() && lag < o.size(); ++lag) {
    double sum = 0;
    for (size_t i = 0; i + lag < o.size(); ++i) sum += o[i] * o[i + lag];
    ac[lag] = sum / static_cast<double>(o.size() - lag);
  }
  return ac;
}

// The rough beat period in hops: the comb over the autocorrelation that best sums the period
// and its multiples, within the range of tempos a DJ counts.
double roughPeriod(const std::vector<double>& o, double hopSeconds) {
  const double longest = 60 / kSlowestTempo / hopSeconds;
  const auto ac = autocorrelation(o, static_cast<size_t>(longest * kHarmonics) + 2);
  double best = 0, bestScore = 0;
  for (double bpm = kSlowestTempo; bpm < kFastestTempo; bpm += 0.25) {
    const double lag = 60 / bpm / hopSeconds;
    double score = 0;
    for (int k = 1; k <= kHarmonics; ++k) score += interpolated(ac, lag * k);
    if (score > bestScore) {
      bestScore = score;
      best = lag;
    }
  }
  return best;
}

// The envelope's spectrum at `cyclesPerHop`.
std::complex<double> spectrumAt(const std::vector<double>& o, double cyclesPerHop) {
  const std::complex<double> step = std::polar(1.0, -2 * M_PI * cyclesPerHop);
  std::complex<double> turn = 1, sum = 0;
  for (size_t i = 0; i < o.size(); ++i) {
    sum += o[i] * turn;
    turn *= step;
    if ((i & 1023) == 1023) turn /= std::abs(turn);
  }
  return sum;
}

double combSpectrum(const std::vector<double>& o, double period) {
  double sum = 0;
  for (int k = 1; k <= kHarmonics; ++k) sum += std::abs(spectrumAt(o, k / period));
  return sum;
}

// The period (hops) near `rough` where the envelope's spectrum at the period and its
// harmonics is strongest: over a whole song this is far sharper than any one beat gap.
double exactPeriod(const std::vector<double>& o, double rough) {
  double best = rough, bestScore = combSpectrum(o, rough);
  for (const double span : {0.02, 0.002}) {
    const double centre = best;
    for (int i = -20; i <= 20; ++i) {
      const double period = centre * (1 + span * i / 20);
      const double score = combSpectrum(o, period);
      if (score > bestScore) {
        bestScore = score;
        best = period;
      }
    }
  }
  return best;
}

// The strongest onset within a quarter beat of each beat of the grid.
std::vector<Peak> onsetsNearBeats(const std::vector<double>& o, double period, double start) {
  std::vector<Peak> peaks;
  const double mean = std::accumulate(o.begin(), o.end(), 0.0) / static_cast<double>(o.size());
  for (double beat = 0;; ++beat) {
    const double centre = start + beat * period;
    if (centre >= static_cast<double>(o.size())) break;
    const long lo = std::max(0L, std::lround(centre - period / 4));
    const long hi = std::min(static_cast<long>(o.size()) - 1, std::lround(centre + period / 4));
    long at = lo;
    for (long i = lo; i <= hi; ++i)
      if (o[static_cast<size_t>(i)] > o[static_cast<size_t>(at)]) at = i;
    if (o[static_cast<size_t>(at)] <= 2 * mean) continue;
    double offset = 0;  // the peak between hops, from a parabola through its neighbours
    if (at > 0 && at + 1 < static_cast<long>(o.size())) {
      const double a = o[static_cast<size_t>(at) - 1], b = o[static_cast<size_t>(at)], c = o[static_cast<size_t>(at) + 1];
      if (a - 2 * b + c < 0) offset = 0.5 * (a - c) / (a - 2 * b + c);
    }
    peaks.push_back({beat, static_cast<double>(at) + offset});
  }
  return peaks;
}

GridFit fitPeaks(const std::vector<Peak>& peaks) {
  std::vector<double> numbers, times;
  for (const auto& p : peaks) {
    numbers.push_back(p.beat);
    times.push_back(p.hop);
  }
  return fitGrid(numbers, times);
}

// Peaks within `tolerance` hops of the grid.
std::vector<Peak> onGrid(const std::vector<Peak>& peaks, const GridFit& fit, double tolerance) {
  std::vector<Peak> kept;
  for (const auto& p : peaks)
    if (std::abs(p.hop - (fit.first + p.beat * fit.period)) <= tolerance) kept.push_back(p);
  return kept;
}

// The grid through the peaks with its tempo at a whole number of beats per minute, when that
// keeps as many peaks on the grid; none otherwise.
std::optional<GridFit> wholeTempo(const std::vector<Peak>& peaks, const GridFit& fit, double hopSeconds, double tolerance) {
  const double bpm = 60 / (fit.period * hopSeconds), whole = std::round(bpm);
  if (std::abs(bpm - whole) > kWholeTempoShare * bpm) return std::nullopt;
  GridFit snapped{60 / (whole * hopSeconds), 0};
  for (const auto& p : peaks) snapped.first += p.hop - p.beat * snapped.period;
  snapped.first /= static_cast<double>(peaks.size());
  if (onGrid(peaks, snapped, tolerance).size() < peaks.size() * 95 / 100) return std::nullopt;
  return snapped;
}

// aubio's spectral flux on 256-sample frames every 64 samples. The frames are framed here
// rather than by aubio's phase vocoder, which also works out every bin's phase (an arctangent
// each, more than all the rest of the onset work) that the flux never reads.
struct AubioOnsets {
  aubio_fft_t* fft = nullptr;
  aubio_specdesc_t* flux = nullptr;
  fvec_t* window = nullptr;
  fvec_t* frame = nullptr;     // the last kWindow samples
  fvec_t* windowed = nullptr;
  fvec_t* complex = nullptr;
  fvec_t* in = nullptr;        // the next kHop samples, filled by the caller
  cvec_t* grain = nullptr;     // magnitudes only
  fvec_t* out = nullptr;
  AubioOnsets() {
    fft = new_aubio_fft(kWindow);
    flux = new_aubio_specdesc("specflux", kWindow);
    window = new_aubio_window(const_cast<char*>("hanningz"), kWindow);
    frame = new_fvec(kWindow);
    windowed = new_fvec(kWindow);
    complex = new_fvec(kWindow);
    in = new_fvec(kHop);
    grain = new_cvec(kWindow);
    out = new_fvec(1);
  }
  ~AubioOnsets() {
    if (fft) del_aubio_fft(fft);
    if (flux) del_aubio_specdesc(flux);
    for (fvec_t* v : {window, frame, windowed, complex, in, out})
      if (v) del_fvec(v);
    if (grain) del_cvec(grain);
  }
  AubioOnsets(const AubioOnsets&) = delete;
  AubioOnsets& operator=(const AubioOnsets&) = delete;
  bool ok() const { return fft && flux && window && frame && windowed && complex && in && grain && out; }
  float next() {
    std::copy(frame->data + kHop, frame->data + kWindow, frame->data);
    std::copy(in->data, in->data + kHop, frame->data + kWindow - kHop);
    fvec_weighted_copy(frame, window, windowed);
    aubio_fft_do_complex(fft, windowed, complex);
    aubio_fft_get_norm(complex, grain);
    aubio_specdesc_do(flux, grain, out);
    return out->data[0];
  }
};

// A decoder's stereo frames as mono.
class DecoderMono : public MonoSource {
 public:
  explicit DecoderMono(Decoder& decoder) : decoder_(decoder) {}
  int rate() const override { return decoder_.format().sampleRate; }
  double lengthSeconds() const override { return decoder_.format().durationSeconds; }
  int read(float* out, int max) override {
    stereo_.resize(static_cast<size_t>(max) * 2);
    const int got = decoder_.read(stereo_.data(), max);
    for (int i = 0; i < got; ++i) out[i] = 0.5f * (stereo_[2 * i] + stereo_[2 * i + 1]);
    return got;
  }

 private:
  Decoder& decoder_;
  std::vector<float> stereo_;
};

}  // namespace

struct TempoTracker::Onsets {
  explicit Onsets(int sampleRate)
      : factor(std::max(1, sampleRate / kAnalysisRate)),
        hopSeconds(static_cast<double>(kHop) * factor / std::max(1, sampleRate)),
        maxSamples(static_cast<int64_t>(kMaxAnalysedSeconds * sampleRate)) {}
  const int factor;
  const double hopSeconds;
  const int64_t maxSamples;
  int64_t pushed = 0;
  int count = 0;
  float sum = 0;
  uint_t filled = 0;
  AubioOnsets aubio;
  std::vector<float> flux;

  // Averaging each group of samples is filter enough for finding onsets. `weight`: 1 for mono
  // samples, 2 for the sum of a stereo frame's two.
  void take(float m, float weight = 1) {
    sum += m;
    if (++count < factor) return;
    aubio.in->data[filled++] = sum / (weight * static_cast<float>(factor));
    sum = 0;
    count = 0;
    if (filled < static_cast<uint_t>(kHop)) return;
    filled = 0;
    flux.push_back(aubio.next());
  }
};

TempoTracker::TempoTracker(int sampleRate) : onsets_(std::make_unique<Onsets>(sampleRate)) {}
TempoTracker::~TempoTracker() = default;

int TempoTracker::room(int count) const {
  const auto& s = *onsets_;
  if (!s.aubio.ok()) return 0;
  return static_cast<int>(std::min<int64_t>(count, std::max<int64_t>(s.maxSamples - s.pushed, 0)));
}

void TempoTracker::push(const float* mono, int count) {
  const int n = room(count);
  for (int i = 0; i < n; ++i) onsets_->take(mono[i]);
  onsets_->pushed += n;
}

void TempoTracker::pushStereo(const float* frames, int count) {
  const int n = room(count);
  for (int i = 0; i < n; ++i) onsets_->take(frames[2 * i] + frames[2 * i + 1], 2);
  onsets_->pushed += n;
}

TempoEstimate TempoTracker::finish() {
  TempoEstimate result;
  const auto& s = *onsets_;
  const double hop = s.hopSeconds;
  if (s.flux.size() * hop < kMinBeats * 60 / kFastestTempo) return result;
  const auto o = onsetStrength(s.flux);
  const double rough = roughPeriod(o, hop);
  if (rough <= 0) return result;
  const double period = exactPeriod(o, rough);
  // The grid's phase from the spectrum at the beat period.
  const double phase = std::arg(spectrumAt(o, 1 / period));
  const double start = std::fmod(-phase / (2 * M_PI) * period + 2 * period, period);
  const double tolerance = kBeatTolerance / hop;
  auto peaks = onsetsNearBeats(o, period, start);
  GridFit fit{period, start};
  for (int round = 0; round < 2 && peaks.size() >= static_cast<size_t>(kMinBeats); ++round) {
    peaks = onGrid(peaks, fit, tolerance * (round == 0 ? 2 : 1));
    if (peaks.size() >= static_cast<size_t>(kMinBeats)) fit = fitPeaks(peaks);
  }
  peaks = onGrid(peaks, fit, tolerance);
  if (peaks.size() < static_cast<size_t>(kMinBeats) || fit.period <= 0) return result;
  // The beating stretch: from the first beat with an onset on the grid to the last.
  const double beats = peaks.back().beat - peaks.front().beat + 1;
  const double share = static_cast<double>(peaks.size()) / beats;
  const auto whole = wholeTempo(peaks, fit, hop, tolerance);
  if (share < (whole ? kMinOnWholeGrid : kMinOnGrid)) return result;
  if (whole) fit = *whole;
  result.bpm = 60 / (fit.period * hop);
  // The envelope answers an onset when it reaches the middle of the analysis window.
  const double lead = (kHop - kWindow / 2.0) / kHop * hop;
  const double beatLength = 60 / result.bpm;
  result.firstBeat = std::fmod(fit.first * hop + lead, beatLength);
  if (result.firstBeat < 0) result.firstBeat += beatLength;
  return result;
}

GridFit fitGrid(const std::vector<double>& numbers, const std::vector<double>& times) {
  const size_t count = std::min(numbers.size(), times.size());
  if (count < 2) return {};
  const double n = static_cast<double>(count);
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t i = 0; i < count; ++i) {
    sx += numbers[i];
    sy += times[i];
    sxx += numbers[i] * numbers[i];
    sxy += numbers[i] * times[i];
  }
  const double denominator = n * sxx - sx * sx;
  if (denominator <= 0) return {};
  const double period = (n * sxy - sx * sy) / denominator;
  if (period <= 0) return {};
  return {period, (sy - period * sx) / n};
}

double steadyTempo(const std::vector<double>& beats, double roughPeriod) {
  constexpr size_t kMinSteadyBeats = 8;
  constexpr double kSteadyShare = 0.6;
  if (beats.size() < kMinSteadyBeats || roughPeriod <= 0) return 0;
  // Beat numbers: each gap counts as the whole number of periods nearest to it.
  std::vector<double> numbers{0};
  size_t near = 0;
  for (size_t i = 1; i < beats.size(); ++i) {
    const double periods = (beats[i] - beats[i - 1]) / roughPeriod;
    const double whole = std::max(1.0, std::round(periods));
    if (std::abs(periods - whole) < 0.12 && whole == 1) ++near;
    numbers.push_back(numbers.back() + whole);
  }
  if (static_cast<double>(near) < kSteadyShare * static_cast<double>(beats.size() - 1)) return 0;
  const auto fit = fitGrid(numbers, beats);
  return fit.period > 0 ? 60 / fit.period : 0;
}

TempoEstimate estimateTempo(Decoder& decoder, const std::atomic<bool>* cancel) {
  DecoderMono mono(decoder);
  return estimateTempo(mono, cancel);
}

TempoEstimate estimateTempo(MonoSource& source, const std::atomic<bool>* cancel) {
  TempoEstimate result;
  const int rate = source.rate();
  if (rate <= 0) return result;
  TempoTracker tracker(rate);
  std::vector<float> block(static_cast<size_t>(kReadFrames));
  const auto maxFrames = static_cast<int64_t>(kMaxAnalysedSeconds * rate);
  int64_t done = 0;
  while (done < maxFrames) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      result.cancelled = true;
      return result;
    }
    const int got = source.read(block.data(), kReadFrames);
    if (got <= 0) break;
    tracker.push(block.data(), got);
    done += got;
  }
  result = tracker.finish();
  result.seconds = static_cast<double>(done) / rate;
  result.length = source.lengthSeconds() > 0 ? source.lengthSeconds() : result.seconds;
  return result;
}

}  // namespace vx::audio
