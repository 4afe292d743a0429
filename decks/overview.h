#pragma once
// Each deck's song overview (`overview`(deck) of the DJ panel): the analysis's peak columns,
// the entry's cue, start and end points, and the playing position. The logic fills the form's
// Overview model; the view paints it.
#include "core/program.h"
#include "form/control.h"

namespace vx::decks {

// Once per main tick: a deck's new song, or its analysis arriving, fills its overview once; the
// position line moves only when it moved by a whole pixel (15 twips). An empty deck's overview
// holds nothing.
void overviewTick(Program& p);

// A press at x twips of the overview moves the deck to that point of its song as a search does
// (a playing deck keeps playing). Nothing happens for an empty deck.
void overviewMouseDown(Program& p, int deck, const form::MouseEvent& e);

}  // namespace vx::decks
