#pragma once
// The recorder's one way to its device: a command string in, an error code and a text out.
#include <string>

#include "core/program.h"

namespace vx::recorder {

// Sends `command` to the recording device. Returns 0 and the device's answer in `text`, or the
// error code and its text. An empty command is refused (-1) without reaching the device, and a
// program without a recording device answers every command with the code for a missing device.
long sendMciCommand(Program& p, const std::string& command, std::string& text);

inline constexpr long kNoRecordingDevice = 263;

}  // namespace vx::recorder
