#pragma once
// Editing a deck's song list. Every operation acts on all seven lists at once and on the
// selection of the visible list; none touches what a deck has loaded.
#include "core/program.h"
#include "form/control.h"

namespace vx::songlist {

// Moves the selected entry one place down (soat1) or up (soat3) and selects it where it lands.
// The entry must have a neighbour on that side; callers use moveDown and moveUp.
void soat1(Program& p, int deck);
void soat3(Program& p, int deck);
// The button and menu actions: the move, only when the selection has a neighbour there.
void moveDown(Program& p, int deck);
void moveUp(Program& p, int deck);

// Deletes the selected entry without asking; nothing stays selected.
void soat2(Program& p, int deck);

// Moves the selected entry, with all its values, to the end of the other deck's list, whose
// selection stays. When that list is full nothing moves.
void soat4(Program& p, int deck);

// Empties both decks' lists.
void soat5(Program& p);

// The menu command: asks "ソングリストをクリアしますか？" and clears both lists on Yes.
void songclear(Program& p);

// A press on the deck's visible list. A right press with an entry selected shows the deck's
// pop-up menu (its chosen action runs at once) and clears the visible selection afterwards.
// Every press then copies the visible list's selection to the six hidden lists.
void title1_MouseDown(Program& p, int deck, const form::MouseEvent& e);

}  // namespace vx::songlist
