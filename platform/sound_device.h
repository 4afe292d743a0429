#pragma once

namespace vx::platform {

// The sampler's sound device. The sampler engine extends this port with buffers and effects.
class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Creates the device on the default output; false when there is none.
  virtual bool create() = 0;
  virtual void release() = 0;
  virtual bool ready() const = 0;
};

}  // namespace vx::platform
