#pragma once
// The constructors behind createEffect(), one per effect file.
#include <memory>

#include "audio/sampler/effects/effect.h"

namespace vx::audio {

std::unique_ptr<Effect> makeEcho();
std::unique_ptr<Effect> makeChorus();
std::unique_ptr<Effect> makeFlanger();
std::unique_ptr<Effect> makeDistortion();
std::unique_ptr<Effect> makeCompressor();
std::unique_ptr<Effect> makeParamEq();
std::unique_ptr<Effect> makeGargle();

}  // namespace vx::audio
