#include "audio/engine/time_stretch.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace vx::audio {
namespace {

using RB = RubberBand::RubberBandStretcher;

// R2's default "crisp" transients reset the phase at every onset it detects, and on a steady tone
// it detects some: the resets break the waveform (a 440 Hz tone counts 443.8 Hz by its zero
// crossings, a chord's residual is above the chord). "Mixed" keeps the phase of the low and
// middle bands and sharpens only the highs, so clicks still land within a millisecond. The
// pitch scale stays 1, so no pitch option applies; the standard window measured best on chords.
RB::Options optionsFor(TimeStretch::Engine engine) {
  RB::Options o = RB::OptionProcessRealTime | RB::OptionThreadingNever | RB::OptionChannelsTogether;
  if (engine == TimeStretch::Engine::Finer) return o | RB::OptionEngineFiner;
  return o | RB::OptionEngineFaster | RB::OptionTransientsMixed | RB::OptionWindowStandard;
}

double saneRate(double rate) {
  return std::isfinite(rate) ? std::clamp(rate, TimeStretch::kLowestRate, TimeStretch::kHighestRate) : 1.0;
}

}  // namespace

TimeStretch::TimeStretch(Engine engine)
    : engine_(engine), left_(new float[kMaxFeed]()), right_(new float[kMaxFeed]()) {}

TimeStretch::~TimeStretch() = default;

void TimeStretch::prepare(int sampleRate) {
  stretcher_ = std::make_unique<RB>(static_cast<size_t>(std::max(sampleRate, 1)), 2, optionsFor(engine_), 1.0, 1.0);
  stretcher_->setMaxProcessSize(kMaxFeed);
  // A new time ratio may grow the stretcher's output buffers, which allocates: both ends of the
  // range now leave them at their largest, so that no later setRate() or reset() allocates.
  for (double rate : {kLowestRate, kHighestRate}) {
    stretcher_->setTimeRatio(1.0 / rate);
    prime();
  }
  reset(1.0);
}

int TimeStretch::startDelay() const { return stretcher_ ? static_cast<int>(stretcher_->getStartDelay()) : 0; }

void TimeStretch::reset(double rate) {
  inputEnded_ = drainedOut_ = false;
  firstRun_ = runCount_ = 0;
  pending_ = 0;
  if (!stretcher_) return;
  stretcher_->reset();
  rate_ = saneRate(rate);
  stretcher_->setTimeRatio(1.0 / rate_);
  prime();
  // The frame heard now sits in the middle of the stretcher's synthesis window: the rate it was
  // stretched with was set that many output frames ago.
  runs_[0] = {static_cast<long>(stretcher_->getStartDelay()), rate_};
  runCount_ = 1;
  uncounted_ = dropLeft_ - std::max(0, stretcher_->available());
  pending_ = std::max(0, stretcher_->available());
}

void TimeStretch::prime() {
  // Silence ahead of the first frame, and the output frames it turns into, leave the first
  // input frame at output frame 0.
  std::fill(left_.get(), left_.get() + kMaxFeed, 0.0f);
  std::fill(right_.get(), right_.get() + kMaxFeed, 0.0f);
  for (long pad = static_cast<long>(stretcher_->getPreferredStartPad()); pad > 0; pad -= kMaxFeed)
    feedPlanar(static_cast<int>(std::min<long>(pad, kMaxFeed)), false);
  dropLeft_ = static_cast<long>(stretcher_->getStartDelay());
}

void TimeStretch::setRate(double rate) {
  rate = saneRate(rate);
  if (rate == rate_ || !stretcher_) return;
  rate_ = rate;
  stretcher_->setTimeRatio(1.0 / rate_);
}

int TimeStretch::wanted() const {
  if (!stretcher_ || inputEnded_ || stretcher_->available() > 0) return 0;
  return std::clamp(static_cast<int>(stretcher_->getSamplesRequired()), 1, kMaxFeed);
}

void TimeStretch::feedPlanar(int frames, bool last) {
  const float* planes[2] = {left_.get(), right_.get()};
  stretcher_->process(planes, static_cast<size_t>(frames), last);
  countMade();
}

void TimeStretch::countMade() {
  const long available = std::max(0, stretcher_->available());
  long made = available - pending_;
  pending_ = available;
  const long dropped = std::min(made, uncounted_);
  uncounted_ -= dropped;
  made -= dropped;
  if (made <= 0) return;
  Run* newest = runCount_ > 0 ? &runs_[(firstRun_ + runCount_ - 1) % kRuns] : nullptr;
  if (newest && (newest->rate == rate_ || runCount_ == kRuns)) {
    newest->frames += made;  // a full list lumps the newest runs together: the rate then lags slightly
    return;
  }
  runs_[(firstRun_ + runCount_) % kRuns] = {made, rate_};
  ++runCount_;
}

double TimeStretch::pass(long frames) {
  double input = 0;
  while (frames > 0 && runCount_ > 0) {
    Run& run = runs_[firstRun_];
    const long n = std::min(frames, run.frames);
    input += static_cast<double>(n) * run.rate;
    run.frames -= n;
    frames -= n;
    if (run.frames == 0) {
      firstRun_ = (firstRun_ + 1) % kRuns;
      --runCount_;
    }
  }
  return input + static_cast<double>(frames) * rate_;
}

void TimeStretch::feed(const float* in, int frames, bool last) {
  if (!stretcher_ || inputEnded_) return;
  frames = std::clamp(frames, 0, kMaxFeed);
  for (int i = 0; i < frames; ++i) {
    left_[i] = in[2 * i];
    right_[i] = in[2 * i + 1];
  }
  feedPlanar(frames, last);
  inputEnded_ = last;
}

int TimeStretch::take(float* out, int frames, double* input) {
  if (input) *input = 0;
  if (!stretcher_) return 0;
  int made = 0;
  while (made < frames) {
    int available = stretcher_->available();
    if (available < 0) drainedOut_ = true;
    if (available <= 0) break;
    int n = std::min({available, frames - made, kMaxFeed});
    float* planes[2] = {left_.get(), right_.get()};
    n = static_cast<int>(stretcher_->retrieve(planes, static_cast<size_t>(n)));
    if (n <= 0) break;
    int skip = static_cast<int>(std::min<long>(dropLeft_, n));
    dropLeft_ -= skip;
    pending_ -= n;
    const double kept = pass(n - skip);
    if (input) *input += kept;
    for (int i = skip; i < n; ++i, ++made) {
      out[2 * made] = left_[i];
      out[2 * made + 1] = right_[i];
    }
  }
  return made;
}

}  // namespace vx::audio
