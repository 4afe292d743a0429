#pragma once
// The deck transport: PLAY/PAUSE with its freeze on the mark, CUE with its modes, STOP.
// Every operation takes the deck index (0 = A, 1 = B) and touches only that deck, except where
// the headphone monitor, the volume law or the recorder is named.
//
// States a deck moves through (cueStandby / holdActive / stutterArmed):
//   loaded or stopped  F F F    playing            F F F (player plays)
//   frozen on the mark F T T    parked at the cue  T T F (paused)
//   cue preview        T T F (plays while CUE is held)
#include <string>

#include "core/program.h"

namespace vx::decks {

// The texts and pictures the transport shows.
inline constexpr const char* kCueStandbyText = "CUE STAND BY!";
inline constexpr const char* kModes[] = {"CUE", "START", "END", "RESET"};

// A press moves its button down 10 twips and the matching release moves it back: every caller
// of a press (mouse, keys, start-up) must also release, or the button stays drawn pressed.

// PLAY button pressed: toggles between playing and frozen, or starts a stopped or parked deck;
// shows the pressed picture and the song length.
void Pause_MouseDown(Program& p, int deck);
void Pause_MouseUp(Program& p, int deck);
void PLAYBTNON(Program& p, int deck);

// CUE button: parks the deck at the mark, or plays the cue preview while held in standby.
void Play_MouseDown(Program& p, int deck);
void Play_MouseUp(Program& p, int deck);
void cuedown(Program& p, int deck);
void cueup(Program& p, int deck);

// Stores the mark into the selected song's cue, start or end point by the mode label's caption;
// RESET clears them. Nothing when the deck's song list has no selected entry.
void markstore(Program& p, int deck);
// Advances the mode label CUE -> START -> END -> RESET -> CUE; any other caption stays.
void modelabel_Click(Program& p, int deck);

// STOP: back to loaded at position 0, whatever state the deck was in.
void Stop_Click(Program& p, int deck);
void Stop_MouseDown(Program& p, int deck);
void Stop_MouseUp(Program& p, int deck);

// "/mm'ss" of a length rounded to whole seconds (205.4 -> "/03'25").
std::string totalTimeText(double seconds);

}  // namespace vx::decks
