#pragma once
// The window's side of the controllers: the ports' wake-up posts a drain to the window thread as
// a queued call, run through the dispatcher like any other event so the windows follow; a
// wake-up less than MidiHost::kMinDrainInterval after the last drain waits out the rest.
#include <memory>

#include "assembly/midi_host.h"
#include "view/dispatcher.h"

class QObject;

namespace vx::view {

class FormCanvas;

// Starts the controllers of `p` (realPorts false: `--no-midi`) and lets the main window's canvas
// frame the learnable controls while learning. Call once the program started.
std::unique_ptr<assembly::MidiHost> startMidi(Program& p, Dispatcher& dispatcher, QObject* context, FormCanvas& mainCanvas,
                                              bool realPorts);

}  // namespace vx::view
