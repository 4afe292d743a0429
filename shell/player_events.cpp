#include "shell/player_events.h"

#include "decks/monitor.h"
#include "decks/time_display.h"
#include "play/automix.h"

namespace vx::shell {

namespace {

bool validDeck(int deck) { return deck == 0 || deck == 1; }

}  // namespace

void PlayerEvents::endOfStream(int deck, long) {
  if (validDeck(deck)) play::nonstop(p_, deck);
}

// The state numbers the event carries are not trusted: the player is asked again.
void PlayerEvents::playStateChange(int deck, int, int) {
  if (!validDeck(deck) || !p_.ports.player[deck]) return;
  auto& label = p_.main.label("lbfilename", deck);
  if (p_.player(deck).playState() == platform::Playing) {
    label.setCaption(decks::deckTitle(p_, deck));
  } else if (!p_.deck[deck].cueStandby) {
    // The event arrives after the operation that paused the deck; a deck parked at its cue
    // point keeps the "CUE STAND BY!" that operation wrote.
    label.setCaption("");
  }
}

void PlayerEvents::positionChange(int deck, double, double newPosition) {
  if (!validDeck(deck) || deck != p_.monitor.monitorDeck) return;
  decks::monitorSeekSeconds(p_, newPosition);
}

void attachPlayerEvents(Program& p) {
  p.playerEvents = std::make_unique<PlayerEvents>(p);
  for (auto* player : p.ports.player)
    if (player) player->setListener(p.playerEvents.get());
}

}  // namespace vx::shell
