#include "play/tick.h"

#include "basic/convert.h"
#include "decks/search.h"
#include "decks/stutter.h"
#include "decks/time_display.h"
#include "djpanel/dj_panel.h"
#include "play/automix.h"
#include "play/switching.h"
#include "songlist/song_list.h"
#include "tempo/deck_tempo.h"

namespace vx::play {

namespace {

// The selected song's end point in seconds; -1 (no end point) also when the end list selects
// nothing, so that a deck is never ended at the end point of a song it may not hold.
double selectedEndPoint(Program& p, int deck) {
  const songlist::SongList list(p.main, deck);
  if (!list.hasSelection(songlist::End)) return -1;
  return basic::Val(list.selectedValue(songlist::End));
}

void checkEndPoint(Program& p, int deck) {
  double end = selectedEndPoint(p, deck);
  if (end != -1 && p.player(deck).currentPosition() > end) nonstop(p, deck);
}

}  // namespace

void playingmonitor(Program& p, int deck) {
  std::string name = decks::deckTitle(p, deck);
  if (p.player(deck).playState() != platform::Playing || p.deck[deck].stutterArmed) return;
  checkEndPoint(p, deck);
  decks::timecounter(p, deck);
  decks::scrollFileName(p, deck, name);
}

void Timer1_Timer(Program& p) {
  autoCheck(p);
  for (int deck = 0; deck < 2; ++deck)
    if (p.deck[deck].stutterArmed) decks::stutterStep(p, deck);
  if (p.pitchLockTicks > 0) --p.pitchLockTicks;
  for (int deck = 0; deck < 2; ++deck) playingmonitor(p, deck);
  for (int deck = 0; deck < 2; ++deck)
    if (p.deck[deck].deckIdle) decks::fontroll(p, deck);
  tempo::tempoTick(p);
  djpanel::djTick(p);
  // A fade that reaches the end of the fader's travel ends the tick.
  if (p.mixer.switchPhase != 0 && fadeStep(p)) return;
  if (p.window.barMode || p.window.miniMode)
    decks::minimumdisplay(p);
  else
    decks::searchRepeat(p);
}

}  // namespace vx::play
