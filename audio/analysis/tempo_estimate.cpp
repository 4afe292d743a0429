#include "audio/analysis/tempo_estimate.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vx::audio {
namespace {

constexpr int kAnalysisRate = 5512;
constexpr int kWindow = 256;
constexpr int kHop = 64;
constexpr int kReadFrames = 4096;
// Share of beat gaps that must sit near the period for the beat to count as steady.
constexpr double kSteadyShare = 0.6;
constexpr int kMinBeats = 8;
// The tracker's confidence: steady kicks give 2 and more, noise and held tones about 0.1.
constexpr float kMinConfidence = 0.4f;

struct AubioTempo {
  aubio_tempo_t* tempo = nullptr;
  fvec_t* in = nullptr;
  fvec_t* out = nullptr;
  AubioTempo(int sampleRate) {
    tempo = new_aubio_tempo("default", kWindow, kHop, static_cast<uint_t>(sampleRate));
    in = new_fvec(kHop);
    out = new_fvec(1);
  }
  ~AubioTempo() {
    if (tempo) del_aubio_tempo(tempo);
    if (in) del_fvec(in);
    if (out) del_fvec(out);
  }
  AubioTempo(const AubioTempo&) = delete;
  AubioTempo& operator=(const AubioTempo&) = delete;
  bool ok() const { return tempo && in && out; }
};

// Mono near 11 kHz: the beat lives far below 5 kHz, and the onset detector then does a
// quarter of the work it would do at 44.1 kHz. Averaging each group of samples is filter
// enough for finding onsets.
class MonoFeed {
 public:
  explicit MonoFeed(int sampleRate) : factor_(std::max(1, sampleRate / kAnalysisRate)) {}
  int rate(int sampleRate) const { return sampleRate / factor_; }
  template <typename Sink>
  void push(const float* mono, int frames, Sink sink) {
    for (int i = 0; i < frames; ++i) {
      sum_ += mono[i];
      if (++count_ < factor_) continue;
      sink(sum_ / static_cast<float>(factor_));
      sum_ = 0;
      count_ = 0;
    }
  }

 private:
  int factor_;
  int count_ = 0;
  float sum_ = 0;
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

double foldTempo(double bpm) {
  if (bpm <= 0 || !std::isfinite(bpm)) return 0;
  while (bpm < kSlowestTempo) bpm *= 2;
  while (bpm >= kFastestTempo) bpm /= 2;
  return bpm;
}

}  // namespace

double steadyTempo(const std::vector<double>& beats, double roughPeriod) {
  if (beats.size() < static_cast<size_t>(kMinBeats) || roughPeriod <= 0) return 0;
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
  const double n = static_cast<double>(beats.size());
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t i = 0; i < beats.size(); ++i) {
    sx += numbers[i];
    sy += beats[i];
    sxx += numbers[i] * numbers[i];
    sxy += numbers[i] * beats[i];
  }
  const double denominator = n * sxx - sx * sx;
  if (denominator <= 0) return 0;
  const double period = (n * sxy - sx * sy) / denominator;
  return period > 0 ? 60 / period : 0;
}

TempoEstimate estimateTempo(Decoder& decoder, const std::atomic<bool>* cancel) {
  DecoderMono mono(decoder);
  return estimateTempo(mono, cancel);
}

TempoEstimate estimateTempo(MonoSource& source, const std::atomic<bool>* cancel) {
  TempoEstimate result;
  const int fileRate = source.rate();
  if (fileRate <= 0) return result;
  MonoFeed feed(fileRate);
  const int rate = feed.rate(fileRate);
  AubioTempo aubio(rate);
  if (!aubio.ok()) return result;
  std::vector<float> block(static_cast<size_t>(kReadFrames));
  std::vector<double> beats;
  uint_t filled = 0;
  const auto maxFrames = static_cast<int64_t>(kMaxAnalysedSeconds * fileRate);
  int64_t done = 0;
  const auto hop = [&](float m) {
    aubio.in->data[filled++] = m;
    if (filled < static_cast<uint_t>(kHop)) return;
    filled = 0;
    aubio_tempo_do(aubio.tempo, aubio.in, aubio.out);
    if (aubio.out->data[0] != 0) beats.push_back(aubio_tempo_get_last_s(aubio.tempo));
  };
  while (done < maxFrames) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      result.cancelled = true;
      return result;
    }
    const int got = source.read(block.data(), kReadFrames);
    if (got <= 0) break;
    feed.push(block.data(), got, hop);
    done += got;
  }
  result.seconds = static_cast<double>(done) / fileRate;
  result.length = source.lengthSeconds() > 0 ? source.lengthSeconds() : result.seconds;
  const double rough = aubio_tempo_get_bpm(aubio.tempo);
  // The beat tracker keeps predicting beats through noise and held tones; only a clear
  // periodicity of the onsets counts.
  if (rough <= 0 || aubio_tempo_get_confidence(aubio.tempo) < kMinConfidence) return result;
  result.bpm = foldTempo(steadyTempo(beats, 60 / rough));
  return result;
}

}  // namespace vx::audio
