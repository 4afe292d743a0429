#pragma once
// Sound cards through SDL2 (which reaches PipeWire, PulseAudio, ALSA and JACK). UI thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/output_device.h"

namespace vx::audio {

class Mixer;

// Keeps SDL's audio part initialised while any object of it lives.
class SdlAudio {
 public:
  // A sound server keeps kServerBuffers callbacks' worth of sound queued for the devices opened
  // with `bufferFrames` at `sampleRate` (see the .cpp).
  static constexpr int kServerBuffers = 4;
  SdlAudio(int bufferFrames, int sampleRate);
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;
  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }
  // Output devices by name, looked up afresh.
  std::vector<std::string> outputNames() const;
  // The name of the output the system plays to by default; "" when it cannot tell.
  std::string defaultOutputName() const;

 private:
  bool ok_ = false;
  std::string error_;
};

class SdlOutput : public OutputDevice {
 public:
  // Opens the output named `name` ("" = the system's default) and starts rendering `mixer`
  // into it. Null, with the reason, when it cannot be opened.
  static std::unique_ptr<SdlOutput> open(const std::string& name, int sampleRate, int bufferFrames, Mixer& mixer,
                                         std::string& error);
  ~SdlOutput() override;
  int sampleRate() const override { return sampleRate_; }
  bool healthy() const override;

 private:
  // What SDL's audio thread is handed. Made on the UI thread before the device opens; from then
  // on only the audio thread touches it.
  struct CallbackTarget {
    Mixer* mixer = nullptr;
    bool threadRaised = false;
  };

  SdlOutput(uint32_t device, int sampleRate, Mixer& mixer, std::unique_ptr<CallbackTarget> target)
      : device_(device), sampleRate_(sampleRate), mixer_(mixer), target_(std::move(target)) {}
  // Runs on SDL's audio thread.
  static void callback(void* target, uint8_t* stream, int bytes);

  uint32_t device_;
  int sampleRate_;
  Mixer& mixer_;
  std::unique_ptr<CallbackTarget> target_;
};

}  // namespace vx::audio
