#include "audio/analysis/loudness_meter.h"

#include <ebur128.h>

#include <cmath>

namespace vx::audio {

struct LoudnessMeter::State {
  ebur128_state* meter = nullptr;
};

// The histogram mode keeps memory fixed however long the song, at a resolution of 0.1 LU.
LoudnessMeter::LoudnessMeter(int sampleRate) : state_(std::make_unique<State>()) {
  if (sampleRate > 0)
    state_->meter = ebur128_init(2, static_cast<unsigned long>(sampleRate), EBUR128_MODE_I | EBUR128_MODE_HISTOGRAM);
}

LoudnessMeter::~LoudnessMeter() {
  if (state_->meter) ebur128_destroy(&state_->meter);
}

void LoudnessMeter::push(const float* frames, int count) {
  if (state_->meter && count > 0) ebur128_add_frames_float(state_->meter, frames, static_cast<size_t>(count));
}

std::optional<double> LoudnessMeter::integrated() const {
  double lufs = 0;
  if (!state_->meter || ebur128_loudness_global(state_->meter, &lufs) != EBUR128_SUCCESS || !std::isfinite(lufs))
    return std::nullopt;
  return lufs;
}

}  // namespace vx::audio
