#pragma once
// The sampler's sound device (the SoundDevice port). The sampler engine of a later stage adds its
// buffers and effects here; its voices play through the main mixer's eight sampler places.
//
// Threads: UI thread only.
#include "platform/sound_device.h"

namespace vx::audio {

class Mixer;
class VoiceSource;

class SamplerDevice : public platform::SoundDevice {
 public:
  static constexpr int kVoices = 8;

  explicit SamplerDevice(Mixer& mixer) : mixer_(mixer) {}
  bool create() override {
    ready_ = true;
    return true;
  }
  void release() override;
  bool ready() const override { return ready_; }

  // Lets `source` (null: nothing) sound in place `slot` (0 .. 7) of the main mix. A source taken
  // out may be deleted once the mixer has rendered another block (its blocksRendered() moved on).
  void attach(int slot, VoiceSource* source);

 private:
  Mixer& mixer_;
  bool ready_ = false;
};

}  // namespace vx::audio
