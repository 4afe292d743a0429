#pragma once
#include <string>

#include "core/program.h"

namespace vx::decks {

// Starts the monitor, or resumes it when the library reports it paused. Nothing when it is off.
void vbmp3play(Program& p);

// Opens `path` in the monitor library and takes its sample rate. The open's result is not
// examined: a failed open leaves the rate as the information record had it (0 for a fresh record).
// Returns the open's result for the callers that test it.
int monitorOpen(Program& p, const std::string& path);

// Sets the monitor to play at the deck's rate (exactly, where the library can), when it is on.
void monitorSetPitch(Program& p, double rate);

// Gives the monitor the monitored deck's key lock, when it is on.
void monitorFollowsKeyLock(Program& p);

// Moves the monitor to the sample of `seconds` at the monitor's sample rate, when it is on.
void monitorSeekSeconds(Program& p, double seconds);

}  // namespace vx::decks
