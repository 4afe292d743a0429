#pragma once
// Analysing songs from their sound, away from the window and the audio threads: tempo, beat
// grid, overview and loudness, all from one decode.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vx::platform {

// One column of a song's overview: the lowest and highest sample of both channels within its
// stretch of the song, in full scale (-1..1).
struct OverviewColumn {
  float low = 0;
  float high = 0;
};

// Columns an overview holds: enough for the widest overview drawn, one column a pixel.
inline constexpr int kOverviewColumns = 1024;

struct TempoResult {
  int deck = 0;
  std::string path;
  double bpm = 0;      // at normal speed; 0 = the song has no steady beat (or could not be read)
  double seconds = 0;  // the song's length; 0 = unknown
  // The beat grid: beats at firstBeat + n * beatLength seconds into the song. beatLength 0 =
  // none (no steady beat: a drifting tempo gets no grid rather than a wrong one).
  double firstBeat = 0;
  double beatLength = 0;
  // Integrated loudness by EBU R128, LUFS; none for silence or a song that could not be read.
  std::optional<double> loudness{};
  // kOverviewColumns columns spread evenly over `seconds`; empty when the song has no sound.
  std::vector<OverviewColumn> overview{};
};

// Every function is called on the UI thread only.
class TempoAnalysis {
 public:
  virtual ~TempoAnalysis() = default;
  // Starts analysing `path` for `deck`. An unfinished analysis for the same deck is dropped:
  // only the song a deck holds now matters.
  virtual void analyse(int deck, const std::string& path) = 0;
  // Hands the finished analyses to `take` in the order they finished, on the calling thread.
  virtual void deliver(const std::function<void(const TempoResult&)>& take) = 0;
};

}  // namespace vx::platform
