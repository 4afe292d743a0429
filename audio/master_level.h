#pragma once
// The program's master output level and the output device list (the WaveOut port).
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/wave_out.h"

namespace vx::audio {

class MasterLevel : public platform::WaveOut {
 public:
  explicit MasterLevel(std::vector<std::string> devices) : devices_(std::move(devices)) {}
  // UI thread.
  uint32_t getVolume() const override { return value_.load(std::memory_order_relaxed); }
  void setVolume(uint32_t value) override { value_.store(value, std::memory_order_relaxed); }
  std::vector<std::string> deviceNames() const override { return devices_; }
  void setDeviceNames(std::vector<std::string> devices) { devices_ = std::move(devices); }

  // Any thread: the linear gains of the two channels.
  float leftGain() const { return static_cast<float>(getVolume() & 0xFFFFu) / 65535.0f; }
  float rightGain() const { return static_cast<float>(getVolume() >> 16) / 65535.0f; }

 private:
  std::atomic<uint32_t> value_{0xFFFFFFFFu};
  std::vector<std::string> devices_;
};

}  // namespace vx::audio
