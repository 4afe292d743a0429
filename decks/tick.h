#pragma once
#include "core/program.h"

namespace vx::decks {

// One run of the main 30 ms timer, in a fixed order: the automatic-mixing check, the stutter of
// frozen decks, the pitch lock count-down, the playing checks of deck A then B, the idle title
// scrolls, one step of a running automatic fade, then the compact display (bar or mini mode) or
// the repeat of held search buttons.
void Timer1_Timer(Program& p);

}  // namespace vx::decks
