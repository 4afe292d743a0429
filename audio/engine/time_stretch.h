#pragma once
// Changes the tempo and keeps the key: stereo frames in, `rate` times fewer frames out, at the same
// sample rate (Rubber Band in its real-time mode). After reset() the first output frame is the first
// input frame: the stretcher is primed with its preferred start pad of silence and the frames it
// delays by are dropped, so a voice that counts output frames times the rate keeps exact time.
//
// Threads: constructed and prepare()d while the engine is not running (these allocate); every
// other function on the engine thread only, where none allocates, locks or waits.
#include <memory>

namespace RubberBand {
class RubberBandStretcher;
}

namespace vx::audio {

class TimeStretch {
 public:
  // Rubber Band's R2 ("faster") and R3 ("finer") engines; bench/audio/keylock_choice.cpp compares
  // them. The decks and the monitor use kChosen.
  enum class Engine { Faster, Finer };
  static constexpr Engine kChosen = Engine::Faster;
  // Most input frames one feed() takes.
  static constexpr int kMaxFeed = 1024;
  // The tempo range; rates beyond it are taken as its ends.
  static constexpr double kLowestRate = 0.25, kHighestRate = 4.0;

  explicit TimeStretch(Engine engine = kChosen);
  ~TimeStretch();
  TimeStretch(const TimeStretch&) = delete;
  TimeStretch& operator=(const TimeStretch&) = delete;

  void prepare(int sampleRate);
  bool ok() const { return stretcher_ != nullptr; }
  // Output frames the first input frame is delayed by inside the stretcher (0 before prepare()).
  int startDelay() const;

  // Forgets the signal and starts again at tempo `rate` (1 = as recorded).
  void reset(double rate);
  void setRate(double rate);
  // Input frames wanted before more output can come (0 when output is waiting or the input ended).
  int wanted() const;
  // Takes up to kMaxFeed interleaved stereo frames; `last`: no input follows.
  void feed(const float* in, int frames, bool last);
  // Writes up to `frames` output frames to `out`; returns how many. `input`, when given, receives
  // how many input frames they stand for: each output frame counts at the rate in force when the
  // stretcher made it, which may be some frames before the current one.
  int take(float* out, int frames, double* input = nullptr);
  // The input ended and every frame of it has been taken.
  bool drained() const { return inputEnded_ && drainedOut_; }

 private:
  void feedPlanar(int frames, bool last);
  void prime();
  // Output frames the stretcher has made since the last count, at the current rate.
  void countMade();
  // Passes the oldest `frames` output frames made; returns the input frames they stand for.
  double pass(long frames);

  Engine engine_;
  std::unique_ptr<RubberBand::RubberBandStretcher> stretcher_;
  std::unique_ptr<float[]> left_, right_;  // planar buffers of kMaxFeed frames
  double rate_ = 1.0;
  long dropLeft_ = 0;  // output frames of the start delay still to drop
  bool inputEnded_ = false;
  bool drainedOut_ = false;
  // Output frames made but not yet retrieved, in runs made at one rate, oldest first, behind
  // a first run as long as the start delay.
  struct Run {
    long frames;
    double rate;
  };
  static constexpr int kRuns = 64;
  Run runs_[kRuns] = {};
  int firstRun_ = 0, runCount_ = 0;
  long pending_ = 0;    // output frames made and not yet retrieved
  long uncounted_ = 0;  // output frames of the start delay not yet made
};

}  // namespace vx::audio
