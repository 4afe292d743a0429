#include "audio/sampler_device.h"

#include "audio/mixer.h"

namespace vx::audio {

void SamplerDevice::release() {
  for (int slot = 0; slot < kVoices; ++slot) attach(slot, nullptr);
  ready_ = false;
}

void SamplerDevice::attach(int slot, VoiceSource* source) {
  Command c;
  c.kind = Command::SetSampler;
  c.voice = slot;
  c.source = source;
  mixer_.post(c);
}

}  // namespace vx::audio
