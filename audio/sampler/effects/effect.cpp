#include "audio/sampler/effects/effect.h"

#include "audio/sampler/effects/kinds.h"

namespace vx::audio {

std::unique_ptr<Effect> createEffect(platform::EffectKind kind) {
  using platform::EffectKind;
  switch (kind) {
    case EffectKind::Echo: return makeEcho();
    case EffectKind::Chorus: return makeChorus();
    case EffectKind::Flanger: return makeFlanger();
    case EffectKind::Distortion: return makeDistortion();
    case EffectKind::Compressor: return makeCompressor();
    case EffectKind::ParamEq: return makeParamEq();
    case EffectKind::Gargle: return makeGargle();
  }
  return nullptr;
}

std::unique_ptr<Effect> createEffect(const std::string& classId) {
  platform::EffectKind kind;
  if (!platform::effectKindOf(classId, kind)) return nullptr;
  return createEffect(kind);
}

}  // namespace vx::audio
