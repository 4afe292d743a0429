#pragma once
// One sampler buffer as the engine plays it: a read head over the decoded sound at the buffer's
// frequency, a second head that fades out what was sounding when the sound jumps or stops, the
// effect chain (which rings on for a while after the sound stops), and gains that glide to their
// targets over a block.
//
// Threads: apply() and mixInto() on the engine thread only; the atomics are read by the UI.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/sampler/effects/effect.h"
#include "audio/sampler/sampler_command.h"

namespace vx::audio {

struct SampleData;

// A buffer's effects in chain order. Made on the UI thread; run by the engine.
struct EffectChain {
  std::vector<std::unique_ptr<Effect>> effects;
};

class SamplerVoice {
 public:
  static constexpr int kMaxBlock = 512;
  static constexpr int kFadeFrames = 64;

  void apply(const SamplerCommand& c);
  // Adds up to kMaxBlock frames to the interleaved stereo `out`.
  void mixInto(float* out, int frames, int outputRate);
  // Engine thread (or the UI thread while nothing renders): the voice plays, fades out, or its
  // effects still ring; a silent voice lets the output rest.
  bool sounding() const { return head_.on || tail_.on || ringFrames_ >= 0 || releasing_; }

  // The serial of the last play that ran to its end by itself.
  std::atomic<uint32_t> ended{0};
  // The serial of the last detach whose sound has gone: its data and chain are no longer read.
  std::atomic<uint32_t> released{0};
  // The read head, in whole frames.
  std::atomic<int64_t> position{0};

 private:
  struct Head {
    double pos = 0;
    bool on = false;
  };
  // Adds the head's frames into scratch_, the gain moving by `gainStep` a frame from `gain`;
  // returns the frames it made before the sound ended (all of them when it loops).
  int read(Head& head, int frames, double step, bool loop, float gain, float gainStep);
  float at(long frame, int channel, bool loop) const;
  void startTail();
  void drop();
  void runChain(int frames, bool input, int outputRate);

  const SampleData* data_ = nullptr;
  EffectChain* chain_ = nullptr;
  Head head_, tail_;
  bool tailLoop_ = false;
  float tailGain_ = 0;
  bool loop_ = false;
  uint32_t serial_ = 0;
  double frequency_ = 44100;
  float left_ = 1, right_ = 1, targetLeft_ = 1, targetRight_ = 1;
  long ringFrames_ = -1;  // frames the chain has rung on since the sound stopped; -1 = at rest
  long quietFrames_ = 0;  // of those, the last ones in a row that were silent
  bool releasing_ = false;
  float releaseGain_ = 1;
  uint32_t releaseSerial_ = 0;
  float scratch_[kMaxBlock * 2] = {};
};

}  // namespace vx::audio
