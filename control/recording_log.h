#pragma once
// The recording device as the headless run sees it: every command string is kept, in order,
// for `recorder.commands`, and passed on to the device behind it. Without a device behind it,
// every command fails with a code and a text, so no recording is ever reported as made.
#include <string>
#include <vector>

#include "platform/recording_device.h"

namespace vx::control {

class RecordingLog : public platform::RecordingDevice {
 public:
  explicit RecordingLog(platform::RecordingDevice* device = nullptr) : device_(device) {}

  long sendCommand(const std::string& command, std::string& result) override;
  std::string errorText(long code) const override;
  std::string takeInterruption() override { return device_ ? device_->takeInterruption() : ""; }
  double takeLostSeconds() override { return device_ ? device_->takeLostSeconds() : 0; }

  const std::vector<std::string>& commands() const { return commands_; }
  // The commands joined by " | ".
  std::string joined() const;

  static constexpr long kNoDevice = 263;  // the classic "device name not recognised" number

 private:
  platform::RecordingDevice* device_;
  std::vector<std::string> commands_;
};

}  // namespace vx::control
