#pragma once
// The private PulseAudio server of the test run (scripts/test.d/pulseaudio.sh): its null sinks
// "main" and "phones", recorded back from their monitors.
#include <string>
#include <vector>

namespace vx::audio::testing {

// What the shell command prints on its standard output.
std::string commandOutput(const std::string& command);

// Why the sound-server tests cannot run here, or "" when they can.
std::string missingSoundServer();

// What the sink plays, recorded from its monitor for `seconds`: interleaved stereo floats at
// 44.1 kHz.
std::vector<float> recordSink(const std::string& sink, double seconds);

}  // namespace vx::audio::testing
