#include "decks/tick_rest.h"

#include "decks/marquee.h"
#include "songlist/song_list.h"

namespace vx::decks {

namespace {

// Limits past which the idle scroll and the bar's scroll move a title (see time_display.cpp).
constexpr int kIdleScrollLimit = 8;
constexpr int kBarScrollLimit = 10;

bool scrolls(Program& p, int deck, int limit) {
  return firstDotPosition(songlist::SongList(p.main, deck).selectedValue(songlist::Title)) > limit;
}

bool deckNeedsTick(Program& p, int deck) {
  const DeckState& d = p.deck[deck];
  if (p.player(deck).playState() == platform::Playing) return true;
  if (d.stutterArmed || d.searchBackHeld || d.searchForwardHeld) return true;
  return d.deckIdle && scrolls(p, deck, kIdleScrollLimit);
}

}  // namespace

bool mainTickCanRest(Program& p) {
  for (int deck = 0; deck < 2; ++deck)
    if (deckNeedsTick(p, deck)) return false;
  if (p.pitchLockTicks > 0 || p.mixer.switchPhase != 0 || p.mixer.switchBusy) return false;
  // A tempo being found arrives through the tick, not through an event.
  if (p.tempo.analysing[0] || p.tempo.analysing[1]) return false;
  bool barScroll = p.window.barMode && !p.window.miniMode;
  int shown = p.lastPlayedDeck;
  if (barScroll && shown >= 0 && shown <= 1 && scrolls(p, shown, kBarScrollLimit)) return false;
  return true;
}

}  // namespace vx::decks
