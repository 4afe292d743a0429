#include "play/mini_buttons.h"

#include "decks/transport.h"
#include "mixer/volume_law.h"
#include "play/selection.h"

namespace vx::play {

namespace {

constexpr double kFaderCentre = 5130;

void showTitleOf(Program& p, int deck) {
  p.main.label("topbar").setCaption(p.main.label("lbfilename", deck).caption());
}

// Switches to the other deck and starts it with the crossfader in the middle.
void startOtherDeck(Program& p, int deck) {
  decks::PLAYBTNON(p, deck);
  p.main.picture("Faderbtn").setLeft(kFaderCentre);
  mixer::volcontrol(p);
  showTitleOf(p, deck);
  p.deck[deck].deckIdle = false;
}

int otherDeck(int deck) { return deck == 0 ? 1 : 0; }

}  // namespace

void miniplay_Click(Program& p) {
  int deck = p.lastPlayedDeck;
  decks::PLAYBTNON(p, deck);
  p.deck[deck].deckIdle = false;
  showTitleOf(p, deck);
}

void ministop_Click(Program& p) {
  int deck = p.lastPlayedDeck;
  showTitleOf(p, deck);
  decks::Stop_Click(p, deck);
  p.deck[deck].deckIdle = true;
}

void mininext_Click(Program& p) {
  play::Nextsong(p, p.lastPlayedDeck);
  p.lastPlayedDeck = otherDeck(p.lastPlayedDeck);
  startOtherDeck(p, p.lastPlayedDeck);
}

void minipre_Click(Program& p) {
  decks::Stop_Click(p, p.lastPlayedDeck);
  p.lastPlayedDeck = otherDeck(p.lastPlayedDeck);
  play::Presong(p, p.lastPlayedDeck);
  startOtherDeck(p, p.lastPlayedDeck);
}

}  // namespace vx::play
