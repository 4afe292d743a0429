#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vx::platform {

// The program's master output level and the list of output devices. UI thread only.
class WaveOut {
 public:
  virtual ~WaveOut() = default;
  // Low 16 bits left, high 16 bits right, each 0 (silent) .. 0xFFFF (full).
  virtual uint32_t getVolume() const = 0;
  virtual void setVolume(uint32_t value) = 0;
  // Output devices by name; an index into this list chooses the monitor device.
  virtual std::vector<std::string> deviceNames() const = 0;
  // The index in deviceNames of the device the main output plays on; -1 when it is none of them.
  virtual int mainDevice() const { return 0; }
};

}  // namespace vx::platform
