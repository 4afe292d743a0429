#pragma once
// The sampler's sound device (the SoundDevice port). The sampler engine of a later stage adds its
// buffers and voices; this part only reports whether an output exists. UI thread only.
#include "platform/sound_device.h"

namespace vx::audio {

class SamplerDevice : public platform::SoundDevice {
 public:
  bool create() override {
    ready_ = true;
    return true;
  }
  void release() override { ready_ = false; }
  bool ready() const override { return ready_; }

 private:
  bool ready_ = false;
};

}  // namespace vx::audio
