#pragma once
#include "core/program.h"

namespace vx::play {

// One run of the main 30 ms timer, in a fixed order: the automatic-mixing check, the stutter of
// frozen decks, the pitch lock count-down, the playing checks of deck A then B, the idle title
// scrolls, one step of a running automatic fade, then the compact display (bar or mini mode) or
// the repeat of held search buttons.
void Timer1_Timer(Program& p);

// The per-tick check of a deck that plays and is not frozen: an end point that the position has
// passed ends the song (again on every tick while it holds), the time display is refreshed and
// a long title scrolls in `lbfilename`. A frozen or silent deck is left alone.
void playingmonitor(Program& p, int deck);

}  // namespace vx::play
