#pragma once
// The pitch slider: the knob's top on its track sets the deck's playback rate (lower = faster),
// shown as a percentage in `Pitchper` and stored with the song as a knob-position code.
#include "core/program.h"
#include "form/control.h"

namespace vx::decks {

// Knob top (twips) of normal speed.
inline constexpr double kPitchCentre = 2400;

// The rate for a knob top, rounded to single precision: 1 at the centre, about 1.2117 at the
// bottom of the designed track and 0.785 at its top.
double knobRate(double knobTop);

// Applies the knob's position to the deck: rate, monitor pitch, percentage label and the song's
// tempo code, then holds further changes for 8 ticks. While that lock runs nothing happens, and
// the change is not applied later.
void applyPitch(Program& p, int deck);

// Places the knob centred on the pointer's `y` (relative to the track) and applies the pitch.
void PitchUpdatePosition(Program& p, int deck, double y);

// Click on `def`: the knob goes back to the centre and the pitch is applied (only the knob moves
// while the lock runs).
void pitchReset(Program& p, int deck);

// Mouse on the track (`pitchbase`) or the knob (`pitchbtn`); knob coordinates are turned into
// track coordinates. A drag outside the track is ignored.
void pitchMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void pitchMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void pitchMouseUp(Program& p, int deck);

}  // namespace vx::decks
