#include "audio/sdl_output.h"

#include <SDL.h>

#include <sched.h>

#include <cstdlib>
#include <string>

#include "audio/mixer.h"

namespace vx::audio {

namespace {

// Low among real-time threads, so a sound server's own (PulseAudio 5, PipeWire 20 and up by
// default) come first; any real-time priority comes before every ordinary thread.
constexpr int kCallbackRealTimePriority = 3;

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

// SDL runs each output's callback on a thread of its own at the highest nice level, which a
// busy machine still preempts for whole scheduler ticks (4 ms here): longer than a 256-frame
// buffer lasts. Real-time round-robin scheduling, where the system grants it (a privileged user,
// or an rtprio limit as audio groups have), keeps the callback on time; its work is bounded, so
// it cannot starve the desktop. Where it is refused SDL's nice level stays. (SDL's own hint for
// this drops the nice level as well when real-time is refused, so it is not used.) Called once
// per device from the first callback: a single system call, no lock, no allocation.
void raiseThisThread() {
  sched_param param{};
  param.sched_priority = kCallbackRealTimePriority;
  sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &param);
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

void SdlOutput::callback(void* target, uint8_t* stream, int bytes) {
  auto* t = static_cast<CallbackTarget*>(target);
  if (!t->threadRaised) {
    t->threadRaised = true;
    raiseThisThread();
  }
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
