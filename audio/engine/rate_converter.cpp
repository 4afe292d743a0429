#include "audio/engine/rate_converter.h"

#include <samplerate.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vx::audio {

RateConverter::RateConverter(Quality quality) {
  int error = 0;
  state_ = src_new(quality == Quality::Full ? SRC_SINC_MEDIUM_QUALITY : SRC_SINC_FASTEST, 2, &error);
}

RateConverter::~RateConverter() {
  if (state_) src_delete(state_);
}

void RateConverter::reset() {
  if (state_) src_reset(state_);
  passing_ = true;
  std::fill(std::begin(history_), std::end(history_), 0.0f);
  historyAt_ = 0;
  passed_ = 0;
  discard_ = 0;
}

RateConverter::Result RateConverter::process(const float* in, int inFrames, float* out, int outFrames, bool last) {
  if (!state_) return {inFrames, 0};
  if (passing_) {
    if (step_ == 1.0) return passThrough(in, inFrames, out, outFrames);
    startConverting();
  }
  int used = 0;
  while (discard_ > 0) {
    Result d = convert(in + 2 * used, inFrames - used, scratch_, std::min(discard_, kHistory), last, 1.0);
    used += d.used;
    discard_ -= d.made;
    if (d.used == 0 && d.made == 0) return {used, 0};
  }
  Result r = convert(in + 2 * used, inFrames - used, out, outFrames, last, step_);
  return {used + r.used, r.made};
}

RateConverter::Result RateConverter::passThrough(const float* in, int inFrames, float* out, int outFrames) {
  int n = std::min(inFrames, outFrames);
  if (n <= 0) return {0, 0};
  std::memcpy(out, in, sizeof(float) * 2 * static_cast<size_t>(n));
  remember(in, n);
  return {n, n};
}

void RateConverter::remember(const float* in, int frames) {
  passed_ = std::min(passed_ + frames, kHistory);
  if (frames >= kHistory) {
    std::memcpy(history_, in + 2 * (frames - kHistory), sizeof(history_));
    historyAt_ = 0;
    return;
  }
  for (int i = 0; i < frames; ++i) {
    history_[2 * historyAt_] = in[2 * i];
    history_[2 * historyAt_ + 1] = in[2 * i + 1];
    historyAt_ = (historyAt_ + 1) % kHistory;
  }
}

void RateConverter::startConverting() {
  // The converter takes in the frames that passed last, oldest first, at step 1; the frames it
  // still owes for them once the next input arrives are thrown away, so that its next frame is
  // the next input frame.
  // Before the first of them it holds silence since its reset, as before any frame passed.
  passing_ = false;
  int made = 0;
  int oldest = (historyAt_ + kHistory - passed_) % kHistory;
  int wrapped = std::min(passed_, kHistory - oldest);
  feed(history_ + 2 * oldest, wrapped, made);
  feed(history_, passed_ - wrapped, made);
  discard_ = passed_ - made;
}

void RateConverter::feed(const float* in, int frames, int& made) {
  for (int used = 0; used < frames;) {
    Result r = convert(in + 2 * used, frames - used, scratch_, kHistory, false, 1.0);
    if (r.used == 0 && r.made == 0) return;
    used += r.used;
    made += r.made;
  }
}

RateConverter::Result RateConverter::convert(const float* in, int inFrames, float* out, int outFrames, bool last,
                                             double step) {
  // Setting the ratio first makes a change take effect at the block boundary, so the output
  // advances the source by exactly outFrames * step.
  src_set_ratio(state_, 1.0 / step);
  SRC_DATA data{};
  data.data_in = in;
  data.input_frames = inFrames;
  data.data_out = out;
  data.output_frames = outFrames;
  data.src_ratio = 1.0 / step;
  data.end_of_input = last ? 1 : 0;
  if (src_process(state_, &data) != 0) return {inFrames, 0};
  return {static_cast<int>(data.input_frames_used), static_cast<int>(data.output_frames_gen)};
}

}  // namespace vx::audio
