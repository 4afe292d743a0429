#pragma once
// Changes speed and pitch together: stereo frames in at one rate, out at another. A band-limited
// sinc converter (libsamplerate's medium quality; see bench/audio/resampler_choice.cpp for why).
//
// Threads: created on the UI thread; used by the engine only. process() and reset() never
// allocate or lock.
#include <cstdint>

struct SRC_STATE_tag;

namespace vx::audio {

class RateConverter {
 public:
  RateConverter();
  ~RateConverter();
  RateConverter(const RateConverter&) = delete;
  RateConverter& operator=(const RateConverter&) = delete;

  bool ok() const { return state_ != nullptr; }
  // Forgets the signal so far; the next output frame is the next input frame.
  void reset();
  // Source frames per output frame from now on (0.25 .. 8).
  void setStep(double step) { step_ = step; }
  double step() const { return step_; }

  struct Result {
    int used;   // input frames taken
    int made;   // output frames written
  };
  // `last`: no input follows this (the converter gives out what it still holds).
  Result process(const float* in, int inFrames, float* out, int outFrames, bool last);

 private:
  SRC_STATE_tag* state_ = nullptr;
  double step_ = 1.0;
};

}  // namespace vx::audio
