#include "control/recording_log.h"

namespace vx::control {

long RecordingLog::sendCommand(const std::string& command, std::string& result) {
  commands_.push_back(command);
  if (device_) return device_->sendCommand(command, result);
  result.clear();
  return kNoDevice;
}

std::string RecordingLog::errorText(long code) const {
  if (device_) return device_->errorText(code);
  return code == kNoDevice ? "No recording device is available." : "Recording failed.";
}

std::string RecordingLog::joined() const {
  std::string out;
  for (const std::string& c : commands_) {
    if (!out.empty()) out += " | ";
    out += c;
  }
  return out;
}

}  // namespace vx::control
