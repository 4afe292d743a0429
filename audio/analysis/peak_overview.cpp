#include "audio/analysis/peak_overview.h"

#include <algorithm>

namespace vx::audio {
namespace {

// Stretches kept before neighbours are merged: twice the columns, so every column is made
// of at least one whole stretch.
constexpr size_t kMaxStretches = 4 * platform::kOverviewColumns;

platform::OverviewColumn merged(const platform::OverviewColumn& a, const platform::OverviewColumn& b) {
  return {std::min(a.low, b.low), std::max(a.high, b.high)};
}

// The lowest and highest of `count` samples, in eight lanes that the compiler turns into
// vector instructions: one comparison per sample and lane is the overview's whole cost.
platform::OverviewColumn extremes(const float* samples, int count) {
  constexpr int kLanes = 8;
  float low[kLanes], high[kLanes];
  std::fill(low, low + kLanes, 1.0f);
  std::fill(high, high + kLanes, -1.0f);
  int i = 0;
  for (; i + kLanes <= count; i += kLanes)
    for (int k = 0; k < kLanes; ++k) {
      const float v = samples[i + k];
      low[k] = v < low[k] ? v : low[k];
      high[k] = v > high[k] ? v : high[k];
    }
  platform::OverviewColumn out{*std::min_element(low, low + kLanes), *std::max_element(high, high + kLanes)};
  for (; i < count; ++i) out = {std::min(out.low, samples[i]), std::max(out.high, samples[i])};
  return out;
}

}  // namespace

void PeakOverview::push(const float* frames, int count) {
  for (int done = 0; done < count;) {
    const int n = static_cast<int>(std::min<int64_t>(count - done, stretchFrames_ - inStretch_));
    open_ = merged(open_, extremes(frames + 2 * static_cast<ptrdiff_t>(done), 2 * n));
    inStretch_ += n;
    done += n;
    if (inStretch_ == stretchFrames_) close();
  }
  total_ += count;
}

void PeakOverview::close() {
  stretches_.push_back(open_);
  open_ = {1, -1};
  inStretch_ = 0;
  if (stretches_.size() < kMaxStretches) return;
  for (size_t i = 0; i < stretches_.size() / 2; ++i) stretches_[i] = merged(stretches_[2 * i], stretches_[2 * i + 1]);
  stretches_.resize(stretches_.size() / 2);
  stretchFrames_ *= 2;
}

std::vector<platform::OverviewColumn> PeakOverview::finish(int columns) const {
  if (total_ == 0 || columns <= 0) return {};
  auto all = stretches_;
  if (inStretch_ > 0) all.push_back(open_);
  // Column c covers frames [c * total / columns, (c + 1) * total / columns); a stretch counts
  // for every column it overlaps.
  std::vector<platform::OverviewColumn> out(static_cast<size_t>(columns), {1, -1});
  for (size_t s = 0; s < all.size(); ++s) {
    const int64_t from = static_cast<int64_t>(s) * stretchFrames_;
    const int64_t to = std::min(total_, from + stretchFrames_) - 1;
    const auto first = static_cast<size_t>(from * columns / total_);
    const auto last = static_cast<size_t>(to * columns / total_);
    for (size_t c = first; c <= last && c < out.size(); ++c) out[c] = merged(out[c], all[s]);
  }
  // A column between two stretches of a very short song takes its neighbour's.
  for (size_t c = 0; c < out.size(); ++c)
    if (out[c].low > out[c].high) out[c] = c > 0 ? out[c - 1] : platform::OverviewColumn{};
  return out;
}

}  // namespace vx::audio
