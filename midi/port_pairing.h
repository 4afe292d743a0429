#pragma once
// Which output port belongs to the same device as an input port, for the device's lamps.
//
// JACK gives every client a unique name and renames a second client of the same name with a
// "-NN" suffix, so a controller (or RtMidi, one client per port) whose input and output are two
// clients shows up as "Pad:in" and "Pad-01:out". Bridges of hardware ports name a device's two
// directions alike but for "capture" / "playback". Pure functions, any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::midi {

// The client part of a port name less JACK's rename suffix: "Pad-01:out" -> "Pad".
std::string clientKeyOf(std::string_view portName);

// The output of `input`'s device among `outputs`: the port of the same name; else the one named
// alike but for capture/playback; else the only output of the same client (renamed or not).
// Outputs whose name starts with `own` (the program's own ports) never pair.
std::optional<std::string> pairedOutput(std::string_view input, const std::vector<std::string>& outputs,
                                        std::string_view own);

}  // namespace vx::midi
