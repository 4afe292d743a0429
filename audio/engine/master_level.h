#pragma once
// The program's master output level and the output device list (the WaveOut port). The level
// scales the main mixer's sum: the decks and the sampler. The monitor has its own level.
//
// Threads: UI thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/wave_out.h"

namespace vx::audio {

class Mixer;

class MasterLevel : public platform::WaveOut {
 public:
  // `mainDevice()` answers the index of the main output among `devices()`.
  MasterLevel(Mixer& mixer, std::function<std::vector<std::string>()> devices, std::function<int()> mainDevice);
  uint32_t getVolume() const override { return value_; }
  void setVolume(uint32_t value) override;
  std::vector<std::string> deviceNames() const override { return devices_(); }
  int mainDevice() const override { return mainDevice_(); }

 private:
  Mixer& mixer_;
  std::function<std::vector<std::string>()> devices_;
  std::function<int()> mainDevice_;
  uint32_t value_ = 0xFFFFFFFFu;
};

}  // namespace vx::audio
