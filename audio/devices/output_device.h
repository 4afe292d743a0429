#pragma once
// Something that calls a mixer's render() at the pace of real time: a sound card through SDL, or
// a clock when there is no card. Created, watched and destroyed on the UI thread; destroying it
// returns only after its last render() call has finished. While one lives, the mixer's commands
// wait for its thread; before and after, they take effect at once.
#include <string>

namespace vx::audio {

class OutputDevice {
 public:
  virtual ~OutputDevice() = default;
  virtual int sampleRate() const = 0;
  // False once the device has gone away (unplugged, server gone).
  virtual bool healthy() const = 0;
};

}  // namespace vx::audio
