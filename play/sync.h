#pragma once
// Bringing one deck's tempo to the other's, and a tempo tapped by hand.
#include "core/program.h"

namespace vx::play {

// Keys the key table leaves free; both act on the deck with the keyboard focus.
inline constexpr int kSyncKey = 'Y';
inline constexpr int kTapKey = 'T';

// Click on `bpm`(deck) or the sync key: moves the deck's pitch knob so that its shown tempo
// equals the other deck's, through the pitch operation of the decks. When that rate lies
// beyond the knob's travel, half or double the other tempo is matched if it fits; otherwise,
// or when either tempo is unknown, nothing moves and a message says why. While the pitch lock
// of a recent knob move runs, nothing happens (as for any knob move).
void syncTempo(Program& p, int deck);

// One press of the tap key at `seconds` (any steady clock). From the fourth press in a row
// (presses less than 2 s apart) the deck's song takes the tapped tempo, for songs whose tempo
// the analysis did not find.
void tapTempo(Program& p, int deck, double seconds);

// The key hook of the main window.
void tempoKey(Program& p, int keyCode);

// Attaches the label clicks.
void wireTempo(Program& p);

}  // namespace vx::play
