#pragma once
// The tempo shown on each deck: the song's tempo found in the background (or tapped), scaled
// by the deck's rate, in the label `bpm`(deck).
#include <string>

#include "core/program.h"

namespace vx::tempo {

// The mark the label shows while the song is analysed.
inline constexpr const char* kAnalysingMark = "…";

// Once per main tick: takes the finished analyses, notices a song newly in a deck (however it
// got there: opened, loaded from a list, stepped to, restored at start-up) and shows each
// deck's tempo. The label changes only when its text does.
void tempoTick(Program& p);

// The tempo a deck shows now: its song's tempo times the deck's rate; 0 = none.
double shownTempo(Program& p, int deck);

// "128.0": one decimal, halves away from zero.
std::string tempoText(double bpm);

// A tempo for the deck's song found by analysis or by hand: kept for the file and shown.
void setSongTempo(Program& p, int deck, double bpm);

}  // namespace vx::tempo
