#include "audio/rate_converter.h"

#include <samplerate.h>

namespace vx::audio {

RateConverter::RateConverter() {
  int error = 0;
  state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 2, &error);
}

RateConverter::~RateConverter() {
  if (state_) src_delete(state_);
}

void RateConverter::reset() {
  if (state_) src_reset(state_);
}

RateConverter::Result RateConverter::process(const float* in, int inFrames, float* out, int outFrames, bool last) {
  if (!state_) return {inFrames, 0};
  // Setting the ratio first makes a change take effect at the block boundary, so the output
  // advances the source by exactly outFrames * step.
  src_set_ratio(state_, 1.0 / step_);
  SRC_DATA data{};
  data.data_in = in;
  data.input_frames = inFrames;
  data.data_out = out;
  data.output_frames = outFrames;
  data.src_ratio = 1.0 / step_;
  data.end_of_input = last ? 1 : 0;
  if (src_process(state_, &data) != 0) return {inFrames, 0};
  return {static_cast<int>(data.input_frames_used), static_cast<int>(data.output_frames_gen)};
}

}  // namespace vx::audio
