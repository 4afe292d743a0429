#pragma once
// Finding songs' tempos from their sound, away from the window and the audio threads.
#include <functional>
#include <string>

namespace vx::platform {

struct TempoResult {
  int deck = 0;
  std::string path;
  double bpm = 0;      // at normal speed; 0 = the song has no steady beat (or could not be read)
  double seconds = 0;  // the song's length; 0 = unknown
};

// Every function is called on the UI thread only.
class TempoAnalysis {
 public:
  virtual ~TempoAnalysis() = default;
  // Starts finding the tempo of `path` for `deck`. An unfinished analysis for the same deck is
  // dropped: only the song a deck holds now matters.
  virtual void analyse(int deck, const std::string& path) = 0;
  // Hands the finished analyses to `take` in the order they finished, on the calling thread.
  virtual void deliver(const std::function<void(const TempoResult&)>& take) = 0;
};

}  // namespace vx::platform
