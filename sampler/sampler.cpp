#include "sampler/sampler.h"

namespace vx::sampler {

void releaseSampler(Program& p) {
  if (p.ports.sound) p.ports.sound->release();
}

}  // namespace vx::sampler
