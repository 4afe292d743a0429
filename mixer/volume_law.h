#pragma once
// The mixer's volume law: crossfader position, fader pattern, trims and channel faders give the
// two players' volumes. Nothing else writes the players' volumes.
#include "core/program.h"

namespace vx::mixer {

// Knob left edge (twips) of the crossfader's A end, centre and B end; one unit of the position
// u is 3 twips.
inline constexpr double kFaderAEnd = 3630;
inline constexpr double kFaderCentre = 5130;
inline constexpr double kFaderBEnd = 6630;

// The crossfader position u, -500 (all A) .. 500 (all B), in single precision as the law uses it.
float faderPosition(const Program& p);

// What the law computes for one deck, from its inputs alone.
struct DeckLevel {
  int trimLevel;  // T, percent
  long volume;    // hundredths of a decibel, -10000 = silence
};
// `curve` holds P0..P3 of the current pattern; `cut` is the trim cut t, `travel` the channel
// fader travel v (0 top .. 1500 bottom).
DeckLevel deckLevel(int deck, float u, const std::array<int, 4>& curve, double cut, double travel);

// Recomputes both players' volumes from the crossfader, pattern, trims and channel faders,
// deck A first, and stores each deck's trim level.
void volcontrol(Program& p);

}  // namespace vx::mixer
