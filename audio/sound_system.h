#pragma once
// The sound platform as the composition root sees it: the two deck players, the monitor
// player, the master level and the sampler's device, all mixed by one engine on one output
// (the monitor on its own device). Build it once per process.
#include <memory>
#include <string>

#include "platform/media_player.h"
#include "platform/monitor_library.h"
#include "platform/sound_device.h"
#include "platform/wave_out.h"

namespace vx::audio {

struct SoundSystemOptions {
  // true: the virtual device that renders only when asked (driver, tests, benchmarks).
  bool virtualDevice = false;
  int bufferFrames = 256;
  int sampleRate = 44100;
  std::string mainDevice;  // "" = the default output
};

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  // UI thread only.
  virtual platform::MediaPlayer& player(int deck) = 0;
  virtual platform::MonitorLibrary& monitor() = 0;
  virtual platform::WaveOut& waveOut() = 0;
  virtual platform::SoundDevice& soundDevice() = 0;
  // Delivers the players' pending events to their listeners, on the calling (UI) thread.
  virtual void deliverEvents() = 0;
  // Virtual device only: renders `frames` frames of the main output (and of the monitor's)
  // synchronously on the calling thread, as the device callback would.
  virtual void renderVirtual(int frames) = 0;
  virtual bool usingVirtualDevice() const = 0;
  // A message for the user when a real device could not be opened ("" when all is well).
  virtual std::string deviceMessage() const = 0;
};

std::unique_ptr<SoundSystem> createSoundSystem(const SoundSystemOptions& options);

}  // namespace vx::audio
