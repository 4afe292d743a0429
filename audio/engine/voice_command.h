#pragma once
// What the UI thread tells the engine, one message per change, through a lock-free queue
// (Mixer::post on the UI thread, applied on the engine thread).
#include <cstdint>

namespace vx::audio {

class StretchShare;
class Track;
class VoiceSource;

struct Command {
  enum Kind : uint8_t {
    SetTrack,    // voice: play `track` (null: none); `serial` numbers the change
    Seek,        // voice: jump to `frame` for `generation`; the play head reads `position`
    Play,        // voice
    Pause,       // voice
    SetRate,     // voice: speed `value` (1 = as recorded)
    SetGain,     // voice: linear `left`, `right`
    SetEnd,      // voice: stop at `position` source frames (negative: at the end of the file)
    SetMaster,   // mixer: linear `left`, `right` on the sum
    SetSampler,  // mixer: sampler voice slot `voice` plays `source` (null: none)
    SetEqBand,   // voice: equaliser band `frame` (0 low, 1 mid, 2 high) at linear gain `value` (0: killed)
    SetFilter,   // voice: filter knob `value`, -1 (low-pass closed) .. 0 (off) .. 1 (high-pass closed)
    SetCue,      // mixer: output layout `frame` (a Mixer::CueLayout) with the master blended in by `value`
    SetLoop,     // voice: loop from frame `frame` to `position` (frame < 0: none) as decoded for
                 // `generation`; `value` 1: the new generation goes on from where the voice plays
                 // (no jump), 2: the same, and that stream first wraps once as the old loop
                 // did, 0: it belongs to the jump of that generation
    SetKeyLock,  // voice: key lock on when `value` != 0. A non-zero `generation` restarts the voice
                 // where it plays now as that generation, whose frames the reader decodes from
                 // `position` (at or before that place): the switch then fades like a jump.
    SetShare,    // voice: while stretching, take the frames of `share` where they are the ones this
                 // voice would make of the song loaded by track change `serial` (null: none)
  };
  Kind kind = Play;
  int voice = 0;
  Track* track = nullptr;
  VoiceSource* source = nullptr;
  StretchShare* share = nullptr;
  uint32_t generation = 0;
  uint64_t serial = 0;
  int64_t frame = 0;
  double position = 0;
  double value = 0;
  float left = 1, right = 1;
};

}  // namespace vx::audio
