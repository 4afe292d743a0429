#pragma once
// The per-deck time displays and title scrolls the main tick refreshes, and the compact display
// of the bar and mini window modes.
#include <string>

#include "core/program.h"

namespace vx::decks {

// The name the deck shows for its song: the title list's selected entry or, while the title list
// selects nothing (after a list file was loaded, or a pop-up menu cleared the selection), the
// file name of the song the deck holds. Never the title of an entry the deck may not hold.
std::string deckTitle(Program& p, int deck);

// Refreshes the deck's time display `text2` as mm'ss''mmm: elapsed time, or the time left when
// the menu option `countdown` is checked. Minutes are never cut to two digits.
void timecounter(Program& p, int deck);

// Scrolls a long title in `lbfilename` while the deck plays.
void scrollFileName(Program& p, int deck, const std::string& name);

// Scrolls a long title in `text2` while the deck is idle.
void fontroll(Program& p, int deck);

// Bar and mini mode: the position of the deck played last as mm:ss in `bartime` (bar mode) or
// in the window caption with the title (mini mode); in bar mode a long title scrolls in `topbar`.
void minimumdisplay(Program& p);

}  // namespace vx::decks
