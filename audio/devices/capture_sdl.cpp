#include "audio/devices/capture_sdl.h"

#include <SDL.h>

#include "audio/devices/sdl_output.h"

namespace vx::audio {

void SdlCapture::callback(void* ring, uint8_t* stream, int bytes) {
  static_cast<CaptureRing*>(ring)->write(reinterpret_cast<const float*>(stream), static_cast<size_t>(bytes) / sizeof(float));
}

bool SdlCapture::start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string& error) {
  stop();
  if (!sdl_.ok()) {
    error = sdl_.error();
    return false;
  }
  if (SDL_GetNumAudioDevices(1) == 0) {
    error = "録音の入力が見つかりません";
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = wanted.rate;
  want.format = AUDIO_F32SYS;
  want.channels = static_cast<Uint8>(wanted.channels);
  want.samples = 1024;
  want.callback = &SdlCapture::callback;
  want.userdata = &ring;
  SDL_AudioSpec have{};
  // The card's own rate and channels are taken as they come: the writer converts them on its
  // thread, which also spares the capture callback any conversion work.
  device_ = SDL_OpenAudioDevice(nullptr, 1, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
  if (device_ == 0) {
    error = SDL_GetError();
    return false;
  }
  delivered = {have.freq, have.channels};
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlCapture::stop() {
  // Closing returns after the callback's last run.
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  device_ = 0;
}

bool SdlCapture::healthy() const { return device_ == 0 || SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED; }

}  // namespace vx::audio
