#pragma once
// The sampler's part of the engine: a fixed pool of buffer voices, played through the main
// mixer's eight sampler places (place p mixes voices p, p + 8, ...), and the lock-free queue that
// carries the UI's commands to them. The UI side keeps every sound and effect chain a voice may
// read alive until the engine has let go of it.
//
// Threads: functions marked UI run on the UI thread only; place sources run on the engine thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/engine/voice_source.h"
#include "audio/realtime/spsc_queue.h"
#include "audio/sampler/sample_data.h"
#include "audio/sampler/sampler_voice.h"

namespace vx::audio {

class Mixer;

class SamplerEngine {
 public:
  static constexpr int kVoices = 32;
  static constexpr int kPlaces = 8;

  explicit SamplerEngine(Mixer& mixer);
  ~SamplerEngine();
  SamplerEngine(const SamplerEngine&) = delete;
  SamplerEngine& operator=(const SamplerEngine&) = delete;

  // UI: a free voice playing `data` (stopped, at frame 0, gains as given); -1 when all are taken.
  int attach(std::shared_ptr<const SampleData> data, float left, float right);
  // UI: the voice lets go of its sound and chain; it is free again once the engine has.
  void detach(int voice);
  // UI: detaches every voice in use (the device is released).
  void detachAll();
  // UI: replaces the voice's chain (null: none); the old one is freed once the engine has let go.
  void setChain(int voice, std::unique_ptr<EffectChain> chain);
  EffectChain* chain(int voice) const { return chains_[static_cast<size_t>(voice)].get(); }
  // UI: any other command for a voice.
  void post(const SamplerCommand& c);
  // UI: what the engine reports for a voice.
  const SamplerVoice& voice(int v) const { return voices_[static_cast<size_t>(v)]; }
  int outputRate() const;
  // UI: true when the voice's play numbered `serial` has run to its end.
  bool ended(int v, uint32_t serial) const;

  // The source that plays in the mixer's sampler place `p`.
  VoiceSource& place(int p) { return places_[static_cast<size_t>(p)]; }

  // Engine: takes up the UI's commands.
  void applyCommands();

 private:
  class Place : public VoiceSource {
   public:
    void mixInto(float* out, int frames, int outputRate) override;
    bool sounding() const override;
    SamplerEngine* engine = nullptr;
    int index = 0;
  };
  struct Retired {
    uint64_t afterCommand = 0;  // freed once the engine has applied this many commands
    int voice = -1;             // and, when >= 0, this voice has acknowledged `serial`'s release
    uint32_t serial = 0;
    std::shared_ptr<const SampleData> data;
    std::unique_ptr<EffectChain> chain;
  };
  void send(const SamplerCommand& c);
  void collect();

  Mixer& mixer_;
  std::array<SamplerVoice, kVoices> voices_;
  std::array<Place, kPlaces> places_;
  SpscQueue<SamplerCommand, 1024> queue_;
  std::atomic<uint64_t> applied_{0};
  uint64_t sent_ = 0;
  uint32_t releases_ = 0;
  // UI side: what each voice may be reading.
  std::array<bool, kVoices> used_{};
  std::array<std::shared_ptr<const SampleData>, kVoices> data_{};
  std::array<std::unique_ptr<EffectChain>, kVoices> chains_{};
  std::vector<Retired> retired_;
};

}  // namespace vx::audio
