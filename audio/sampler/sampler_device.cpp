#include "audio/sampler/sampler_device.h"

#include "audio/engine/mixer.h"
#include "audio/sampler/sample_data.h"
#include "audio/sampler/sampler_buffer.h"

namespace vx::audio {

using platform::SoundResult;

SamplerDevice::SamplerDevice(Mixer& mixer) : mixer_(mixer), engine_(mixer) {
  // The places stay in the mix for the device's whole life, so that the engine always takes up
  // its commands; with no buffer they add nothing.
  attachPlaces();
}

SamplerDevice::~SamplerDevice() {
  release();
  for (int slot = 0; slot < kVoices; ++slot) attach(slot, nullptr);
}

void SamplerDevice::attachPlaces() {
  for (int slot = 0; slot < kVoices; ++slot) attach(slot, &engine_.place(slot));
}

bool SamplerDevice::create() {
  if (!session_) {
    session_ = std::make_shared<SamplerSession>();
    session_->engine = &engine_;
  }
  ready_ = true;
  return true;
}

void SamplerDevice::release() {
  if (session_) {
    // Buffers still held fall silent and refuse to play from now on.
    session_->engine = nullptr;
    session_.reset();
    engine_.detachAll();
  }
  attachPlaces();
  ready_ = false;
}

void SamplerDevice::attach(int slot, VoiceSource* source) {
  Command c;
  c.kind = Command::SetSampler;
  c.voice = slot;
  c.source = source;
  mixer_.post(c);
}

SoundResult SamplerDevice::checkFlags(long flags) {
  using namespace platform;
  if ((flags & kCtrl3D) && (flags & kCtrlPan)) return kSoundInvalidParam;
  if ((flags & kCtrlFx) && (flags & kCtrlFrequency)) return kSoundInvalidParam;
  return kSoundOk;
}

std::unique_ptr<platform::SoundBuffer> SamplerDevice::createBufferFromFile(const std::string& path, long flags,
                                                                           SoundResult& result) {
  using namespace platform;
  if (!ready_ || !session_) {
    result = kSoundNoDriver;
    return nullptr;
  }
  if ((result = checkFlags(flags)) != kSoundOk) return nullptr;
  std::shared_ptr<const SampleData> data = loadSample(path, result);
  if (!data) return nullptr;
  if ((flags & kCtrl3D) && data->fileChannels != 1) {
    result = kSoundInvalidParam;
    return nullptr;
  }
  if ((flags & kCtrlFx) && data->frames * 1000L < static_cast<long>(kEffectsMinimumMs) * data->sampleRate) {
    result = kSoundBufferTooSmall;
    return nullptr;
  }
  int voice = engine_.attach(data, 1.0f, 1.0f);
  if (voice < 0) {
    result = kSoundOutOfMemory;
    return nullptr;
  }
  result = kSoundOk;
  return std::make_unique<SamplerBuffer>(session_, voice, std::move(data), flags);
}

}  // namespace vx::audio
