#pragma once
// A deck's channel strip: the trim knob (a per-song cut stored in `vollis`), the channel fader
// and the pan control. Trim and fader feed the volume law; the pan writes the player's balance.
#include "core/program.h"
#include "form/control.h"

namespace vx::mixer {

// The channel fader knob's top runs from 1830 (full level) to 3330 (muted).
inline constexpr double kChannelTop = 1830;
inline constexpr double kChannelTravelMax = 1500;

// The trim cut t of the deck, 0 (none) .. 40, from the free end of its pointer line.
double trimCut(const Program& p, int deck);
// The channel fader travel v of the deck, 0 (top) .. 1500 (bottom).
double channelTravel(const Program& p, int deck);

// Turns the trim pointer toward a point given in the knob image's own coordinates, applies the
// volumes and stores the new trim with the song selected in `vollis`.
void TrimUpdatePosition(Program& p, int deck, double x, double y);
// Draws the deck's trim pointer from the trim stored with the song selected in `vollis`. A stored
// trim outside 0..4000 is drawn at the nearer end. Volumes are not recomputed.
void trimlinedraw(Program& p, int deck);
// Moves the channel fader knob for a point y relative to the track's top, then the volumes.
void VolUpdatePosition(Program& p, int deck, double x, double y);
// Moves the pan knob for a point x relative to the track's left edge and sets the balance;
// a balance beyond +-1270 goes hard to that side.
void PanUpdatePosition(Program& p, int deck, double x, double y);

// Mouse on the trim knob (`Trimbase`), the channel fader (`Volbase`, `Volbtn`) and the pan
// (`Panbase`, `panbtn`); `onKnob` tells that the event came from the knob image.
void trimMouseDown(Program& p, int deck, const form::MouseEvent& e);
void trimMouseMove(Program& p, int deck, const form::MouseEvent& e);
void trimMouseUp(Program& p);
void volMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void volMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void volMouseUp(Program& p, int deck);
void panMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void panMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob);
void panMouseUp(Program& p, int deck);

}  // namespace vx::mixer
