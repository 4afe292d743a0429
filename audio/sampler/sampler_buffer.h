#pragma once
// A sampler buffer as the sampler's logic holds it (the SoundBuffer port), with its 3D placement
// and its effect chain, played by one voice of the sampler engine.
//
// Threads: UI thread only.
#include <memory>
#include <vector>

#include "audio/sampler/sample_data.h"
#include "audio/sampler/sampler_space.h"
#include "platform/sound_device.h"

namespace vx::audio {

class SamplerEngine;
struct EffectChain;
struct SamplerCommand;

// Shared by the device and its buffers: a buffer still held after the device was released (or
// destroyed) finds `engine` null and refuses to play.
struct SamplerSession {
  SamplerEngine* engine = nullptr;
};

class SamplerBuffer : public platform::SoundBuffer {
 public:
  SamplerBuffer(std::shared_ptr<SamplerSession> session, int voice, std::shared_ptr<const SampleData> data, long flags);
  ~SamplerBuffer() override;

  long flags() const override { return flags_; }
  long status() const override;
  platform::SoundResult play(long flags) override;
  platform::SoundResult stop() override;
  platform::SoundResult setCurrentPosition(long frame) override;
  long currentPosition() const override;
  long frames() const override { return data_->frames; }
  platform::SoundResult setVolume(long hundredthsDb) override;
  long volume() const override { return volume_; }
  platform::SoundResult setPan(long pan) override;
  long pan() const override { return pan_; }
  platform::SoundResult setFrequency(long hz) override;
  long frequency() const override { return frequency_; }
  platform::SoundBuffer3D* spatial() override;
  platform::SoundResult setEffects(const std::vector<std::string>& classIds, std::vector<long>* results) override;
  std::vector<std::string> effectClasses() const override;
  platform::SoundEffect* effect(const std::string& classId, int index, const std::string& interfaceId) override;

  // The gains the voice should glide to, after any change of volume, pan or placement.
  void sendGain();
  // Sends a command for this buffer's voice; false when the device is gone.
  bool send(SamplerCommand c);
  int voice() const { return voice_; }
  EffectChain* chain() const;

 private:
  class Spatial;
  class EffectHandle;
  SamplerEngine* engine() const { return session_->engine; }

  std::shared_ptr<SamplerSession> session_;
  int voice_;
  std::shared_ptr<const SampleData> data_;
  long flags_;
  long volume_ = 0, pan_ = 0, frequency_;
  bool playing_ = false, loop_ = false;
  uint32_t serial_ = 0;
  mutable long position_ = 0;
  std::unique_ptr<Spatial> spatial_;
  // Every effect object handed out; those of an earlier chain stay valid but reach nothing.
  std::vector<std::unique_ptr<EffectHandle>> effects_;
};

}  // namespace vx::audio
