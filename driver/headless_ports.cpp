#include "driver/headless_ports.h"

namespace vx::driver {

std::unique_ptr<audio::SoundSystem> createHeadlessSound() {
  audio::SoundSystemOptions options;
  options.virtualDevice = true;
  options.sampleRate = kHeadlessSampleRate;
  return audio::createSoundSystem(options);
}

}  // namespace vx::driver
