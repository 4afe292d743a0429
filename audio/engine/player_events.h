#pragma once
// Events of one deck player. UI thread only.
// A change the UI asked for (a seek, play, pause, stop, a new file) reaches the listener at once,
// inside the call, as a control's events do: the operation that caused it then has the last word
// on what the window shows (a paused deck parked at its cue point keeps "CUE STAND BY!", a search
// step's monitor offset survives the seek's event). Changes that the engine makes by itself (the
// end of a song) wait for deliver().
#include <vector>

#include "platform/media_player.h"

namespace vx::audio {

class PlayerEvents {
 public:
  explicit PlayerEvents(int deck) : deck_(deck) {}
  void setListener(platform::MediaPlayerListener* listener) { listener_ = listener; }
  enum class Timing { Now, Later };
  void endOfStream() { pending_.push_back({Kind::End, 0, 0}); }
  void stateChange(int oldState, int newState, Timing when) {
    raise({Kind::State, static_cast<double>(oldState), static_cast<double>(newState)}, when);
  }
  void positionChange(double oldPosition, double newPosition, Timing when) {
    raise({Kind::Position, oldPosition, newPosition}, when);
  }
  // Hands the waiting events to the listener in the order they happened. A listener may cause new
  // events; they wait for the next delivery so that one delivery always ends.
  void deliver();
  bool empty() const { return pending_.empty(); }

 private:
  enum class Kind { End, State, Position };
  struct Event {
    Kind kind;
    double a, b;
  };
  void raise(const Event& e, Timing when);
  void send(const Event& e);
  int deck_;
  platform::MediaPlayerListener* listener_ = nullptr;
  std::vector<Event> pending_;
};

}  // namespace vx::audio
