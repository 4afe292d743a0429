#include "tests/audio/sound_server.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vx::audio::testing {

std::string commandOutput(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

std::string missingSoundServer() {
  if (std::system("pactl info >/dev/null 2>&1") != 0)
    return "no PulseAudio server is reachable (scripts/test.d/pulseaudio.sh starts one for the test run)";
  std::string sinks = commandOutput("pactl list short sinks 2>/dev/null");
  if (sinks.find("\tmain\t") == std::string::npos || sinks.find("\tphones\t") == std::string::npos)
    return "the PulseAudio server has no sinks named \"main\" and \"phones\"";
  return "";
}

std::vector<float> recordSink(const std::string& sink, double seconds) {
  std::string command = "timeout " + std::to_string(seconds) + " parec -d " + sink +
                        ".monitor --format=float32le --rate=44100 --channels=2 --raw --latency-msec=50 2>/dev/null";
  std::string bytes = commandOutput(command);
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

}  // namespace vx::audio::testing
