#pragma once
// The sound platform as the composition root sees it: the two deck players, the monitor
// player, the master level and the sampler's device, all mixed by one engine on one output
// (the monitor on its own device). Build it once per process.
#include <memory>
#include <string>
#include <vector>

#include "platform/dj_mixer.h"
#include "platform/media_player.h"
#include "platform/monitor_library.h"
#include "platform/recording_device.h"
#include "platform/sound_device.h"
#include "platform/wave_out.h"

namespace vx::audio {

struct SoundSystemOptions {
  // true: the virtual device that renders only when asked (driver, tests, benchmarks).
  bool virtualDevice = false;
  int bufferFrames = 256;
  int sampleRate = 44100;
  std::string mainDevice;  // "" = the default output
  std::string recordingSpool;  // where recordings wait to be saved; "" = the user's cache folder
};

// Threads: every function is called on the UI thread. The engine renders on the devices' own
// threads (or, for the virtual device, inside renderVirtual()).
class SoundSystem {
 public:
  virtual ~SoundSystem() = default;
  virtual platform::MediaPlayer& player(int deck) = 0;
  virtual platform::MonitorLibrary& monitor() = 0;
  virtual platform::WaveOut& waveOut() = 0;
  virtual platform::SoundDevice& soundDevice() = 0;
  // The DJ panel's equalisers, filters, meters and headphone cue mix.
  virtual platform::DjMixer& djMixer() = 0;
  // The recorder's device: the recording input (the virtual device's test tone) or the main
  // output. Null when there is none.
  virtual platform::RecordingDevice* recordingDevice() { return nullptr; }
  // Delivers the players' pending events to their listeners, on the calling (UI) thread. Call it
  // regularly (every tick): it also notices a sound card that went away or came back.
  virtual void deliverEvents() = 0;
  // True while nothing sounds and every device rests: until the next command, deliverEvents()
  // has nothing to deliver and nothing to watch, and the caller's clock may rest too.
  virtual bool idle() const { return false; }
  // Virtual device only: renders `frames` frames of the main output (and of the monitor's)
  // synchronously on the calling thread, as the device callback would.
  virtual void renderVirtual(int frames) = 0;
  // The same without first waiting for the reader, as a real device renders: what the reader
  // has not decoded yet is not there. For tests of how the engine bridges that.
  virtual void renderVirtualUnwaited(int frames) = 0;
  // Virtual device only: the reader decodes nothing until the next renderVirtual(), which lets it
  // catch up first. Between the two, renderVirtualUnwaited() renders what a device plays while
  // the reader lags behind, the same on every run.
  virtual void holdReader() {}
  virtual bool usingVirtualDevice() const = 0;
  // A message for the user when a real device could not be opened or was lost, and the program
  // runs on the virtual device ("" when all is well). Show it once.
  virtual std::string deviceMessage() const = 0;
  // Virtual device only: every frame rendered from now on is appended to `main` (the main output)
  // and `monitor` (the monitor's output), interleaved stereo; null keeps none. For tests and tools.
  virtual void captureVirtual(std::vector<float>* main, std::vector<float>* monitor) {}
};

std::unique_ptr<SoundSystem> createSoundSystem(const SoundSystemOptions& options);

}  // namespace vx::audio
