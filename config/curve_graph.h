#pragma once
// The crossfader curve editor's graph: six straight lines, deck A falling from "A:Start" to
// "A:End", deck B rising from "B:Start" to "B:End". Coordinates are twips in the graph box:
// crossfader position x (0..1000) at 267 + 2x, full level at y 480, silence at y 840.
#include "core/program.h"

namespace vx::config {

// Moves the two line ends that meet at curve slider k (0..3) to its value.
void fdSlider_Scroll(Program& p, int k);

// Redraws the whole graph from the four sliders.
void linedraw(Program& p);

}  // namespace vx::config
