#pragma once
// Events of one deck player, waiting for the UI thread. UI thread only.
#include <vector>

#include "platform/media_player.h"

namespace vx::audio {

class PlayerEvents {
 public:
  explicit PlayerEvents(int deck) : deck_(deck) {}
  void setListener(platform::MediaPlayerListener* listener) { listener_ = listener; }
  void endOfStream() { pending_.push_back({Kind::End, 0, 0}); }
  void stateChange(int oldState, int newState) {
    pending_.push_back({Kind::State, static_cast<double>(oldState), static_cast<double>(newState)});
  }
  void positionChange(double oldPosition, double newPosition) {
    pending_.push_back({Kind::Position, oldPosition, newPosition});
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
  int deck_;
  platform::MediaPlayerListener* listener_ = nullptr;
  std::vector<Event> pending_;
};

}  // namespace vx::audio
