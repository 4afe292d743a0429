#pragma once
// Choosing which deck the headphone monitor follows.
#include "core/program.h"

namespace vx::decks {

// Click on `Imgmonitor` of `deck` (only while the monitor is on): the monitor opens the deck's
// selected song, takes the deck's pitch and, if the deck plays, starts `gapTime` hundredths of a
// second ahead of it; the two buttons show which deck is monitored.
void Imgmonitor_Click(Program& p, int deck);

}  // namespace vx::decks
