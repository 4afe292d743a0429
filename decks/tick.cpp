#include "decks/tick.h"

#include "decks/search.h"
#include "decks/stutter.h"
#include "decks/time_display.h"
#include "mixer/automix.h"
#include "mixer/crossfader.h"
#include "tempo/deck_tempo.h"

namespace vx::decks {

void Timer1_Timer(Program& p) {
  mixer::autoCheck(p);
  for (int deck = 0; deck < 2; ++deck)
    if (p.deck[deck].stutterArmed) stutterStep(p, deck);
  if (p.pitchLockTicks > 0) --p.pitchLockTicks;
  for (int deck = 0; deck < 2; ++deck) playingmonitor(p, deck);
  for (int deck = 0; deck < 2; ++deck)
    if (p.deck[deck].deckIdle) fontroll(p, deck);
  tempo::tempoTick(p);
  // A fade that reaches the end of the fader's travel ends the tick.
  if (p.mixer.switchPhase != 0 && mixer::fadeStep(p)) return;
  if (p.window.barMode || p.window.miniMode)
    minimumdisplay(p);
  else
    searchRepeat(p);
}

}  // namespace vx::decks
