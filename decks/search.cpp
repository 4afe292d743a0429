#include "decks/search.h"

#include <algorithm>

#include "decks/monitor.h"

namespace vx::decks {

namespace {

constexpr double kBackStep = 0.75;
constexpr double kForwardStep = 0.5;

// The monitored deck's monitor lands `gapTime` hundredths of a second ahead of the deck: the
// user's gap adjustment makes up for the monitor's slower start after a jump.
void realignMonitor(Program& p, int deck) {
  if (p.monitor.monitorDeck != deck) return;
  monitorSeekSeconds(p, p.player(deck).currentPosition() + p.settings.gapTime / 100.0);
}

bool plays(Program& p, int deck) { return p.player(deck).playState() == platform::Playing; }

}  // namespace

void searchegnL(Program& p, int deck) {
  if (!plays(p, deck)) return;
  auto& player = p.player(deck);
  player.setCurrentPosition(std::max(0.0, player.currentPosition() - kBackStep));
  realignMonitor(p, deck);
}

void searchegnR(Program& p, int deck) {
  if (!plays(p, deck)) return;
  auto& player = p.player(deck);
  double target = player.currentPosition() + kForwardStep;
  double end = player.duration();
  if (end > 0 && target > end) target = end;
  player.setCurrentPosition(target);
  realignMonitor(p, deck);
}

void searchTo(Program& p, int deck, double seconds) {
  auto& player = p.player(deck);
  const double end = player.duration();
  player.setCurrentPosition(std::max(0.0, end > 0 ? std::min(seconds, end) : seconds));
  realignMonitor(p, deck);
}

void searchRepeat(Program& p) {
  if (!p.searchPhase) {
    p.searchPhase = true;
    return;
  }
  p.searchPhase = false;
  for (int deck = 0; deck < 2; ++deck) {
    if (p.deck[deck].searchBackHeld) searchegnL(p, deck);
    if (p.deck[deck].searchForwardHeld) searchegnR(p, deck);
  }
}

void searchMouseDown(Program& p, int deck, bool back) {
  (back ? p.deck[deck].searchBackHeld : p.deck[deck].searchForwardHeld) = true;
  p.main.picture(back ? "searchL" : "searchR", deck).setPicture(back ? "sback2.bmp" : "sgo2.bmp");
}

void searchMouseUp(Program& p, int deck, bool back) {
  (back ? p.deck[deck].searchBackHeld : p.deck[deck].searchForwardHeld) = false;
  p.main.picture(back ? "searchL" : "searchR", deck).setPicture(back ? "sback1.bmp" : "sgo1.bmp");
}

}  // namespace vx::decks
