#pragma once
// The search buttons: while one is held, the main tick steps the playing deck back 0.75 s or
// forward 0.5 s every 60 ms.
#include "core/program.h"

namespace vx::decks {

// Search-back step: 0.75 s back, not below 0. Only while the deck plays.
void searchegnL(Program& p, int deck);
// Search-forward step: 0.5 s on. A step that would pass the end of the song puts the player at
// its end instead, so the song ends exactly as when it plays to its end. Only while the deck plays.
void searchegnR(Program& p, int deck);

// Moves the deck to `seconds` (within the song) as a search step does, playing or not; the
// monitor follows.
void searchTo(Program& p, int deck, double seconds);

// The tick's search repeat: on every second call, one step for each held button, deck A first,
// back before forward.
void searchRepeat(Program& p);

// Mouse down / up on `searchL` (back = true) or `searchR` of a deck.
void searchMouseDown(Program& p, int deck, bool back);
void searchMouseUp(Program& p, int deck, bool back);

}  // namespace vx::decks
