#pragma once
// What the UI thread tells the sampler's engine about one buffer voice, through the sampler's
// lock-free queue. Plain data: pointers name objects the UI side keeps alive until the engine
// is known to be done with them.
#include <cstdint>
#include <type_traits>

#include "platform/sound_effects.h"

namespace vx::audio {

struct SampleData;
struct EffectChain;

struct SamplerCommand {
  enum Kind : uint8_t {
    Attach,       // `data` becomes the voice's sound, stopped at frame 0, gains `left` `right`
    Detach,       // the voice lets go of its sound (fading out unless `fade` is false); `serial` acks it
    Play,         // from the current frame, looped when `loop`; `serial` numbers the play
    Stop,         // the sound fades out where it is; the frame stays
    SetPosition,  // `frame`
    SetFrequency, // `value` Hz
    SetGain,      // linear `left`, `right`, reached over one block
    SetChain,     // `chain` (null: none) replaces the effects
    SetEffect,    // effect number `effect` of `chain` takes `parameters`
  };
  Kind kind = Play;
  int voice = 0;
  const SampleData* data = nullptr;
  EffectChain* chain = nullptr;
  uint32_t serial = 0;
  bool loop = false;
  bool fade = true;
  int64_t frame = 0;
  double value = 0;
  float left = 1, right = 1;
  int effect = 0;
  platform::EffectParameters parameters{};
};
static_assert(std::is_trivially_copyable_v<SamplerCommand>);

}  // namespace vx::audio
