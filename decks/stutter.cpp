#include "decks/stutter.h"

#include "decks/monitor.h"

namespace vx::decks {

namespace {

// Alternates the two button pictures on every return, so PLAY and CUE blink in turn.
void blink(Program& p, int deck) {
  auto& state = p.deck[deck];
  bool playLit = state.stutterBlink;
  p.main.picture("Pause", deck).setPicture(playLit ? "play2.bmp" : "play1.bmp");
  p.main.picture("Play", deck).setPicture(playLit ? "cue1.bmp" : "cue2.bmp");
  state.stutterBlink = !playLit;
}

}  // namespace

void stutterStep(Program& p, int deck) {
  auto& state = p.deck[deck];
  if (++state.stutterTick <= p.settings.stutterInterval) return;
  auto& player = p.player(deck);
  bool monitored = p.monitor.monitorDeck == deck;
  player.setCurrentPosition(state.markPosition);
  // Placed to the sample only: a further seek by whole seconds would put the headphones up to
  // half a second away from the mark the deck returns to.
  if (monitored) monitorSeekSeconds(p, state.markPosition);
  if (player.fileName().empty()) return;
  player.play();
  if (monitored) vbmp3play(p);
  state.stutterTick = 0;
  blink(p, deck);
}

}  // namespace vx::decks
