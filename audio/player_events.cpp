#include "audio/player_events.h"

namespace vx::audio {

void PlayerEvents::deliver() {
  std::vector<Event> now;
  now.swap(pending_);
  if (!listener_) return;
  for (const Event& e : now) {
    switch (e.kind) {
      case Kind::End: listener_->endOfStream(deck_, 0); break;
      case Kind::State: listener_->playStateChange(deck_, static_cast<int>(e.a), static_cast<int>(e.b)); break;
      case Kind::Position: listener_->positionChange(deck_, e.a, e.b); break;
    }
  }
}

}  // namespace vx::audio
