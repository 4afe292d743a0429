#pragma once
// A song's tempo found from its sound. Runs on the analyser's worker thread (or any thread
// that owns the decoder); never on the UI or audio thread.
#include <atomic>
#include <vector>

#include "audio/decode/decoder.h"

namespace vx::audio {

// Beats per minute folded into this range: a DJ counts a 174 BPM song at 174, a 70 BPM ballad
// at 140 rather than 70 only when the beats say so (see foldTempo).
inline constexpr double kSlowestTempo = 75;
inline constexpr double kFastestTempo = 190;
// Only the opening of a long file is analysed: a mix of two hours holds many tempos anyway.
inline constexpr double kMaxAnalysedSeconds = 480;

struct TempoEstimate {
  double bpm = 0;         // 0 = no steady beat found
  double seconds = 0;     // length of the sound analysed
  double length = 0;      // the whole song's length, as its file states it (0 = unknown)
  bool cancelled = false;
};

// A song's sound as mono samples at its own rate, block by block.
class MonoSource {
 public:
  virtual ~MonoSource() = default;
  virtual int rate() const = 0;
  // Up to `max` samples; 0 at the end.
  virtual int read(float* out, int max) = 0;
  // The song's length as the file states it; 0 when it does not.
  virtual double lengthSeconds() const { return 0; }
};

// Reads the source to its end (or kMaxAnalysedSeconds) and estimates the tempo. `cancel`
// (may be null) is read between blocks; once set the estimate stops with `cancelled`.
TempoEstimate estimateTempo(MonoSource& source, const std::atomic<bool>* cancel);
// The same from a player's decoder.
TempoEstimate estimateTempo(Decoder& decoder, const std::atomic<bool>* cancel);

// The tempo of evenly spaced beat times (seconds) as a least-squares fit of beat time against
// beat number, missed beats counted by rounding; 0 when the beats are not steady.
double steadyTempo(const std::vector<double>& beats, double roughPeriod);

}  // namespace vx::audio
