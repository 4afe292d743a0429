#pragma once
// The sampler's effects: one interface, built by class name. An effect is made and sized on the UI
// thread, then handed to the engine, which alone calls setParameters() and process(): neither
// locks, allocates, logs nor touches a file.
#include <memory>
#include <string>

#include "platform/sound_effects.h"

namespace vx::audio {

class Effect {
 public:
  static constexpr int kMaxBlock = 512;
  virtual ~Effect() = default;
  // UI thread, before the engine has it: the rate and channel count (1 or 2) it will process at;
  // takes its memory and the record's defaults.
  virtual void prepare(int sampleRate, int channels) = 0;
  // Engine thread. A record of this effect's kind, already checked against the ranges; the
  // sound glides to it over the next block.
  virtual void setParameters(const platform::EffectParameters& record) = 0;
  // Engine thread: `frames` (<= kMaxBlock) interleaved frames, in place.
  virtual void process(float* samples, int frames) = 0;
  // Engine thread: forgets the sound it holds (a fresh start after silence).
  virtual void reset() = 0;
};

// Null when `classId` names none of the seven effect classes.
std::unique_ptr<Effect> createEffect(const std::string& classId);
std::unique_ptr<Effect> createEffect(platform::EffectKind kind);

}  // namespace vx::audio
