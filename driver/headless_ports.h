#pragma once
// The sound system of the headless run. All of its creation is here, so that a change of
// engine touches one function.
#include <memory>

#include "audio/sound_system.h"

namespace vx::driver {

// The rate the virtual device renders at; a tick of 30 ms is 1323 frames.
inline constexpr int kHeadlessSampleRate = 44100;

// The engine on the virtual device, which renders only when the driver asks.
std::unique_ptr<audio::SoundSystem> createHeadlessSound();

}  // namespace vx::driver
