#pragma once
// Changes speed and pitch together: stereo frames in at one rate, out at another. A band-limited
// sinc converter (libsamplerate's medium quality; see bench/audio/resampler_choice.cpp for why),
// or, for pre-listening on headphones, its fastest one: half the cost, the same exact steps,
// 100.7 dB on a 1 kHz tone, and a pass band that ends at 80 % instead of 90 % of the lower
// Nyquist frequency (17.6 kHz at 44.1 kHz), which no one cueing a song can tell.
// At a step of exactly 1 from a reset on, frames pass through untouched and cost nothing; the
// first other step starts the converter on the frames that passed last, so that it goes on
// exactly as if it had run all along.
//
// Threads: created on the UI thread; used by the engine only. process() and reset() never
// allocate or lock.
#include <cstdint>

struct SRC_STATE_tag;

namespace vx::audio {

class RateConverter {
 public:
  enum class Quality { Full, Preview };
  explicit RateConverter(Quality quality = Quality::Full);
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
  // More frames than the converter's filter reaches back at any step it is given.
  static constexpr int kHistory = 512;

  Result passThrough(const float* in, int inFrames, float* out, int outFrames);
  void remember(const float* in, int frames);
  void startConverting();
  // Gives `frames` frames to the converter at step 1, counting what it makes into `made`.
  void feed(const float* in, int frames, int& made);
  Result convert(const float* in, int inFrames, float* out, int outFrames, bool last, double step);

  SRC_STATE_tag* state_ = nullptr;
  double step_ = 1.0;
  bool passing_ = true;      // nothing converted since the reset
  float history_[kHistory * 2] = {};  // the frames passed last, a ring; zeros after a reset
  int historyAt_ = 0;        // where the next one goes
  int passed_ = 0;           // how many of them there are (at most kHistory)
  int discard_ = 0;          // converted frames still owed for frames that were passed through
  float scratch_[kHistory * 2] = {};
};

}  // namespace vx::audio
