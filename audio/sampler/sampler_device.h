#pragma once
// The sampler's sound device (the SoundDevice port): buffers decoded from WAV files and played by
// the sampler engine through the main mixer's eight sampler places.
//
// Threads: UI thread only.
#include <memory>

#include "audio/sampler/sampler_engine.h"
#include "platform/sound_device.h"

namespace vx::audio {

class Mixer;
class VoiceSource;
struct SamplerSession;

class SamplerDevice : public platform::SoundDevice {
 public:
  static constexpr int kVoices = 8;

  explicit SamplerDevice(Mixer& mixer);
  ~SamplerDevice() override;
  bool create() override;
  void release() override;
  bool ready() const override { return ready_; }
  std::unique_ptr<platform::SoundBuffer> createBufferFromFile(const std::string& path, long flags,
                                                              platform::SoundResult& result) override;

  // Lets `source` (null: nothing) sound in place `slot` (0 .. 7) of the main mix instead of the
  // sampler's own voices. A source taken out may be deleted once the mixer has rendered another
  // block (its blocksRendered() moved on).
  void attach(int slot, VoiceSource* source);

 private:
  void attachPlaces();
  // The flags' own consistency, before the file is looked at.
  static platform::SoundResult checkFlags(long flags);

  Mixer& mixer_;
  SamplerEngine engine_;
  std::shared_ptr<SamplerSession> session_;
  bool ready_ = false;
};

}  // namespace vx::audio
