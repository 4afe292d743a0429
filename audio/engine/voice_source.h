#pragma once
// A sound the mixer adds to its output besides the players: the sampler's voices plug in here.
// mixInto() runs on the engine thread and must neither lock, allocate, log nor touch a file.

namespace vx::audio {

class VoiceSource {
 public:
  virtual ~VoiceSource() = default;
  // Adds `frames` interleaved stereo frames at the mixer's output rate to `out`.
  virtual void mixInto(float* out, int frames, int outputRate) = 0;
  // False once the source adds nothing more until the UI changes it: then the output may rest.
  // Engine thread.
  virtual bool sounding() const { return true; }
};

}  // namespace vx::audio
