#pragma once
#include "core/program.h"

namespace vx::sampler {

// Releases every slot buffer and the sound device (shutdown without saving).
void releaseSampler(Program& p);

}  // namespace vx::sampler
