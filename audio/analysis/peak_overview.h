#pragma once
// A song's overview built while it is decoded, before its length is known for certain: the
// lowest and highest sample of each stretch, the stretches doubling in length whenever they
// grow too many, so memory stays fixed however long the song. Used by one thread.
#include <cstdint>
#include <vector>

#include "platform/tempo_analysis.h"

namespace vx::audio {

class PeakOverview {
 public:
  // `frames`: interleaved stereo.
  void push(const float* frames, int count);
  // Exactly `columns` columns spread evenly over everything pushed; empty when nothing was.
  std::vector<platform::OverviewColumn> finish(int columns = platform::kOverviewColumns) const;

 private:
  void close();
  std::vector<platform::OverviewColumn> stretches_;
  int64_t stretchFrames_ = 64;
  int64_t inStretch_ = 0;
  int64_t total_ = 0;
  platform::OverviewColumn open_{1, -1};
};

}  // namespace vx::audio
