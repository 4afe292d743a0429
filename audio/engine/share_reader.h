#pragma once
// The headphone monitor's side of a StretchShare: finds the deck's block that holds the monitor's
// own place, then reads on block by block for as long as the blocks join up (the same song and
// stream, each starting where the last one ended, no loop inside).
//
// Threads: the monitor mixer's engine thread only.
#include <cstdint>

#include "audio/engine/stretch_share.h"

namespace vx::audio {

class ShareReader {
 public:
  // Reads `share`'s blocks of the deck's song `song` from now on (null: none).
  void attach(StretchShare* share, uint64_t song);
  bool attached() const { return share_ != nullptr; }

  // Frames that must wait beyond the place found before the reader takes the share up: the
  // deck's worker runs about four times that ahead of the deck, and the monitor may be a device
  // block ahead of the deck or behind it.
  static constexpr int kMargin = 512;

  // Drops every block that does not hold `position`: true when the oldest left does, made at
  // `rate` from frames of `sourcePerInput` source frames each, with kMargin frames or more behind
  // it. The next take() then starts at that block's frame nearest `position`; `snapped` is its
  // place. A monitor that lags the deck's worker never finds its place, so the queue never fills
  // with blocks it would reach only after a gap.
  bool findPlace(double position, double rate, double sourcePerInput, double& snapped);
  // Copies up to `frames` frames, stopping where the blocks no longer join up or have run out
  // (then broken() is true) or the song ended; `moved`: the source frames they stand for.
  int take(float* out, int frames, double& moved);
  bool broken() const { return broken_; }
  // The deck's stream has moved on (a jump, a stop), or what waits is about to run out: the
  // monitor had better go on by itself while the blocks left sound out.
  bool runningOut() const;
  // The last frame of the deck's song has been taken.
  bool ended() const { return ended_; }

 private:
  const StretchShare::Block* usableFront();
  // Frames in the queue from the reading place on (every block counted whole but the front).
  long waiting() const;

  StretchShare* share_ = nullptr;
  uint64_t song_ = 0;
  int at_ = 0;          // frames of the front block already taken
  double next_ = 0;     // song position the next block must start at
  uint32_t stream_ = 0;
  bool broken_ = false;
  bool ended_ = false;
};

}  // namespace vx::audio
