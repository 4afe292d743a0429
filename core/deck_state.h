#pragma once
#include <string>

namespace vx {

// Per-deck transport, tick, pitch and jog state. One per deck, indexed 0 = A, 1 = B.
struct DeckState {
  // Transport
  bool deckIdle = false;      // loaded or stopped and not yet played: the idle title scroll runs
  bool cueStandby = false;    // parked paused at the cue point ("CUE STAND BY!")
  bool holdActive = false;    // frozen on the mark
  bool stutterArmed = false;  // the tick keeps returning the deck to markPosition
  double markPosition = 0;    // seconds
  double jogBase = 0;         // seconds; jog movements are measured from here
  // Tick
  int stutterTick = 0;
  bool stutterBlink = false;
  int marqueeTick = 0;
  // Pitch, jog and search
  bool pitchDragging = false;
  bool jogDragging = false;
  int jogQuadrant = 0;  // 0..3, kept between drags
  int jogSteps = 0;     // signed quarter turns since the drag started
  bool searchBackHeld = false;
  bool searchForwardHeld = false;
  // Overview
  std::string overviewSong;       // the song whose overview the deck shows ("" = none)
  bool overviewAnalysed = false;  // ... drawn from its analysis (else only its frame)
  double overviewLength = 0;      // seconds the overview's columns span; 0 = none
};

}  // namespace vx
