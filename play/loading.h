#pragma once
#include "core/program.h"

namespace vx::play {

// Loads the path list's selected entry into the deck with its stored tempo, trim, start point
// and cue lamp, leaving the deck idle; a playing deck simply receives the new file. The stored
// tempo reaches the player even while the pitch lock runs (the lock is restarted). Each value
// is read at its own list's selected index; a list that selects nothing gives no value (the
// pitch knob stays, no start or cue point, the file name as title). Stops early, returning
// false, when the path list selects nothing, when the player refuses the file (it keeps the
// file it was given), or when the monitored deck's file does not open in the monitor library
// (then only the player has the new file).
bool title1_DblClick(Program& p, int deck);

// The pitch knob's top, in twips, for a stored tempo code (100 = the centre, 2400).
double pitchKnobTop(double tempo);

}  // namespace vx::play
