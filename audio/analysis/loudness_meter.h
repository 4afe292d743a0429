#pragma once
// A song's integrated loudness by EBU R128 (libebur128), measured on the stereo frames the
// decks play; of a file at 44.1 kHz or more, on every second (or fourth...) frame only, which
// keeps the measure within a tenth of a LU at half the cost. Used by one thread.
#include <memory>
#include <optional>

namespace vx::audio {

class LoudnessMeter {
 public:
  explicit LoudnessMeter(int sampleRate);
  ~LoudnessMeter();
  LoudnessMeter(const LoudnessMeter&) = delete;
  LoudnessMeter& operator=(const LoudnessMeter&) = delete;
  // `frames`: interleaved stereo.
  void push(const float* frames, int count);
  // LUFS; none when nothing was loud enough to pass the measure's gates (silence), or the
  // rate is one the meter does not take.
  std::optional<double> integrated() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vx::audio
