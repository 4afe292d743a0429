#pragma once
// The sound card's recording input through SDL2 (PipeWire, PulseAudio, ALSA): the system's
// default capture device, at the rate and channel count the device offers closest to the
// recording's (the writer converts the rest).
//
// Threads: start(), stop() and healthy() on the UI thread; SDL calls the callback on its own
// thread, which only copies into the ring.
#include <cstdint>

#include "audio/record/capture_source.h"

namespace vx::audio {

class SdlAudio;

class SdlCapture : public CaptureSource {
 public:
  explicit SdlCapture(const SdlAudio& sdl) : sdl_(sdl) {}
  ~SdlCapture() override { stop(); }
  bool start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string& error) override;
  void stop() override;
  bool healthy() const override;

 private:
  static void callback(void* ring, uint8_t* stream, int bytes);
  const SdlAudio& sdl_;
  uint32_t device_ = 0;
};

}  // namespace vx::audio
