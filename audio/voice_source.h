#pragma once
// A sound the mixer adds to its output besides the players: the sampler's voices plug in here.
// mixInto() runs on the engine thread and must neither lock, allocate, log nor touch a file.

namespace vx::audio {

class VoiceSource {
 public:
  virtual ~VoiceSource() = default;
  // Adds `frames` interleaved stereo frames at the mixer's output rate to `out`.
  virtual void mixInto(float* out, int frames, int outputRate) = 0;
};

}  // namespace vx::audio
