#include "audio/devices/sdl_output.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "audio/engine/mixer.h"
#include "audio/realtime/realtime_thread.h"
#include "audio/realtime/vector_state.h"

namespace vx::audio {

namespace {

// SDL's PulseAudio back end asks the server to hold no more than one callback's sound. With
// 256-frame buffers that is 5.8 ms: whenever the machine is busy and SDL's thread or the client
// library's thread runs that much late, the server runs dry and the sink plays silence (gaps of
// 3 to 7 ms were heard). The client library takes the queue's length from PULSE_LATENCY_MSEC;
// the callback keeps its size, only the server's queue grows to a few callbacks. A value the
// user set is left alone.
void queueSeveralBuffers(int bufferFrames, int sampleRate) {
  if (std::getenv("PULSE_LATENCY_MSEC") || sampleRate <= 0) return;
  int ms = (SdlAudio::kServerBuffers * bufferFrames * 1000 + sampleRate - 1) / sampleRate;
  setenv("PULSE_LATENCY_MSEC", std::to_string(ms).c_str(), 0);
}

}  // namespace

SdlAudio::SdlAudio(int bufferFrames, int sampleRate) {
  queueSeveralBuffers(bufferFrames, sampleRate);
  ok_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (!ok_) error_ = SDL_GetError();
}

SdlAudio::~SdlAudio() {
  if (ok_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::vector<std::string> SdlAudio::outputNames() const {
  std::vector<std::string> names;
  if (!ok_) return names;
  int count = SDL_GetNumAudioDevices(0);
  for (int i = 0; i < count; ++i) {
    const char* name = SDL_GetAudioDeviceName(i, 0);
    if (name) names.emplace_back(name);
  }
  return names;
}

std::string SdlAudio::defaultOutputName() const {
  std::string found;
#if SDL_VERSION_ATLEAST(2, 24, 0)
  char* name = nullptr;
  SDL_AudioSpec spec{};
  if (ok_ && SDL_GetDefaultAudioInfo(&name, &spec, 0) == 0 && name) {
    found = name;
    SDL_free(name);
  }
#endif
  return found;
}

void SdlOutput::callback(void* target, uint8_t* stream, int bytes) {
  auto* t = static_cast<CallbackTarget*>(target);
  if (!t->threadRaised) {
    // SDL runs each output's callback on a thread of its own at the highest nice level, which a
    // busy machine still preempts for whole scheduler ticks (4 ms here): longer than a 256-frame
    // buffer lasts. Where real-time scheduling is refused SDL's nice level stays. (SDL's own hint
    // for this drops the nice level as well when real-time is refused, so it is not used.)
    t->threadRaised = true;
    raiseCallbackThread();
  }
  clearUpperVectorState();
  t->mixer->render(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

std::unique_ptr<SdlOutput> SdlOutput::open(const std::string& name, int sampleRate, int bufferFrames, Mixer& mixer,
                                           std::string& error) {
  SDL_AudioSpec want{};
  want.freq = sampleRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = static_cast<Uint16>(bufferFrames);
  want.callback = &SdlOutput::callback;
  auto target = std::make_unique<CallbackTarget>();
  target->mixer = &mixer;
  want.userdata = target.get();
  SDL_AudioSpec have{};
  SDL_AudioDeviceID device =
      SDL_OpenAudioDevice(name.empty() ? nullptr : name.c_str(), 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (device == 0) {
    error = SDL_GetError();
    return nullptr;
  }
  // The callback has not run yet (the device starts paused): the mixer can take the rate.
  mixer.setOutputRate(have.freq);
  mixer.setImmediate(false);
  std::unique_ptr<SdlOutput> output(new SdlOutput(device, have.freq, mixer, std::move(target)));
  SDL_PauseAudioDevice(device, 0);
  return output;
}

SdlOutput::~SdlOutput() {
  SDL_CloseAudioDevice(device_);
  mixer_.setImmediate(true);
}

bool SdlOutput::healthy() const { return SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED; }

}  // namespace vx::audio
