#include "audio/engine/player_events.h"

namespace vx::audio {

void PlayerEvents::deliver() {
  std::vector<Event> now;
  now.swap(pending_);
  for (const Event& e : now) send(e);
}

void PlayerEvents::raise(const Event& e, Timing when) {
  if (when == Timing::Later) {
    pending_.push_back(e);
    return;
  }
  // Whatever the engine reported earlier comes first, so the listener sees events in order.
  if (!pending_.empty()) deliver();
  send(e);
}

void PlayerEvents::send(const Event& e) {
  if (!listener_) return;
  switch (e.kind) {
    case Kind::End: listener_->endOfStream(deck_, 0); break;
    case Kind::State: listener_->playStateChange(deck_, static_cast<int>(e.a), static_cast<int>(e.b)); break;
    case Kind::Position: listener_->positionChange(deck_, e.a, e.b); break;
  }
}

}  // namespace vx::audio
