#pragma once
#include "core/program.h"

namespace vx::shell {

// The main window's reactions to the players' events: the end of a song hands over to automatic
// mixing, a play-state change shows or clears the playing song's name, a position change moves
// the headphone monitor when it follows that deck. Events of a deck index other than 0 and 1
// are ignored.
class PlayerEvents : public platform::MediaPlayerListener {
 public:
  explicit PlayerEvents(Program& p) : p_(p) {}
  void endOfStream(int deck, long result) override;
  void playStateChange(int deck, int oldState, int newState) override;
  void positionChange(int deck, double oldPosition, double newPosition) override;

 private:
  Program& p_;
};

// Makes a PlayerEvents owned by the program the listener of both players (those present).
void attachPlayerEvents(Program& p);

}  // namespace vx::shell
