#pragma once
#include <string>

namespace vx::platform {

// Recording through command strings ("open new type waveaudio alias ...", "record ...",
// "save ...", "close ..."). UI thread only.
class RecordingDevice {
 public:
  virtual ~RecordingDevice() = default;
  // 0 on success, otherwise an error code for errorText().
  virtual long sendCommand(const std::string& command, std::string& result) = 0;
  virtual std::string errorText(long code) const = 0;
};

}  // namespace vx::platform
