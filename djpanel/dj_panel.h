#pragma once
// The DJ panel's middle: per deck the equaliser's HIGH, MID and LOW knobs with their kills and the
// FILTER knob, the headphones' CUE/MASTER knob and SPLIT, all passed to the DjMixer port; the
// meters with their clip lamps. [panel] of velvoxplus.ini keeps shown, cuemix and split.
#include "core/program.h"

namespace vx::djpanel {

// Band numbers as the port counts them, with the names the controls carry.
inline constexpr const char* kBandName[3] = {"low", "mid", "high"};

// Reads [panel] and gives the port the panel's settings; before the skin is loaded and the
// window laid out. A first start (no [panel]) keeps the panel hidden.
void readPanelSettings(Program& p);

// Attaches the knobs, kills and SPLIT.
void wireDjPanel(Program& p);

// Kill button of `band` of `deck` pressed: the band goes silent, or comes back.
void toggleKill(Program& p, int deck, int band);
void toggleSplit(Program& p);

// The main tick: the headphones follow the monitor selection, and the meters show the port's
// readings while the panel is on screen. Reads nothing while no deck plays and the meters rest,
// and touches a meter only when it moved by a segment.
void djTick(Program& p);

// The segments lit for a peak (linear, 1 = full scale): one per 3 dB, the top at full scale.
int litSegments(float peak);

}  // namespace vx::djpanel
