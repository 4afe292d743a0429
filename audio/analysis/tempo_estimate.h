#pragma once
// A song's tempo and beat grid found from its sound. Runs on the analyser's worker thread (or
// any thread that owns the source); never on the UI or audio thread.
//
// Method (chosen by measurement on real songs, see tests/audio/real_songs.tsv): aubio's
// spectral flux gives an onset envelope of the whole song; a comb over its autocorrelation
// gives the rough period; the spectrum of the envelope at that period and its harmonics gives
// the exact period; the onsets next to the predicted beats, fitted by least squares, give the
// grid. A song whose onsets do not keep to one grid gets no tempo at all.
#include <atomic>
#include <memory>
#include <vector>

#include "audio/decode/decoder.h"

namespace vx::audio {

// Beats per minute folded into this range: a DJ counts a 174 BPM song at 174, a 70 BPM ballad
// at 140.
inline constexpr double kSlowestTempo = 75;
inline constexpr double kFastestTempo = 190;
// Only the opening of a long file is analysed for its tempo: a mix of two hours holds many
// tempos anyway.
inline constexpr double kMaxAnalysedSeconds = 480;

struct TempoEstimate {
  double bpm = 0;         // 0 = no steady beat found
  double firstBeat = 0;   // seconds from the start to the grid's first beat (0 <= firstBeat < beat length)
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

// Collects the onset envelope of mono samples pushed in order, then finds the tempo. Holds
// about 1 KB per 3 s of sound; after kMaxAnalysedSeconds further samples are ignored.
class TempoTracker {
 public:
  explicit TempoTracker(int sampleRate);
  ~TempoTracker();
  TempoTracker(const TempoTracker&) = delete;
  TempoTracker& operator=(const TempoTracker&) = delete;
  void push(const float* mono, int count);
  // The same from interleaved stereo frames, heard as their mono mix.
  void pushStereo(const float* frames, int count);
  // The tempo and grid of everything pushed (bpm 0 when there is no steady beat).
  TempoEstimate finish();

 private:
  struct Onsets;
  int room(int count) const;  // how many of `count` samples are still analysed
  std::unique_ptr<Onsets> onsets_;
};

// Reads the source to its end (or kMaxAnalysedSeconds) and estimates the tempo. `cancel`
// (may be null) is read between blocks; once set the estimate stops with `cancelled`.
TempoEstimate estimateTempo(MonoSource& source, const std::atomic<bool>* cancel);
// The same from a player's decoder.
TempoEstimate estimateTempo(Decoder& decoder, const std::atomic<bool>* cancel);

// A constant-tempo line through beat times: time = first + number * period.
struct GridFit {
  double period = 0;  // 0 = no fit
  double first = 0;
};
// Least-squares fit of beat time against beat number; `numbers` may skip missed beats.
GridFit fitGrid(const std::vector<double>& numbers, const std::vector<double>& times);

// The tempo of evenly spaced beat times (seconds) as a least-squares fit of beat time against
// beat number, missed beats counted by rounding; 0 when the beats are not steady.
double steadyTempo(const std::vector<double>& beats, double roughPeriod);

}  // namespace vx::audio
