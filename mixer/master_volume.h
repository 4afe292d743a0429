#pragma once
// The master level (the program's whole output) and the headphone monitor's level, each set by
// a vertical knob whose top runs from 3840 (full) to 4840 (silent).
#include <cstdint>

#include "core/program.h"
#include "form/control.h"

namespace vx::mixer {

inline constexpr int kMonitorKnob = 0;
inline constexpr int kMasterKnob = 1;

// The 16-bit channel value of master level a (0..100 percent): 655 steps, full scale at 100.
uint16_t masterChannelValue(int level);

// Places the master knob from the current output level (main window load).
void initMasterKnob(Program& p);
// Applies the level of knob i (0 monitor, 1 master) from the knob's current top.
void masvol2(Program& p, int i);
// Moves knob i for a point y relative to its track's top, then applies its level.
void masterUpdatePosition(Program& p, int i, double x, double y);

// Mouse on the track (`masterbase`) or the knob (`masterbtn`, with `onKnob`).
void masterMouseDown(Program& p, int i, const form::MouseEvent& e, bool onKnob);
void masterMouseMove(Program& p, int i, const form::MouseEvent& e, bool onKnob);
void masterMouseUp(Program& p, int i);

}  // namespace vx::mixer
