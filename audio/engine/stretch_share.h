#pragma once
// A deck's stretched frames, offered to the headphone monitor. With key lock on, the monitor
// usually plays the monitored deck's song at the deck's place and tempo: instead of stretching
// it a second time, its voice takes the deck's blocks from here (see share_reader.h). Each block
// says where in the song it starts and how many song frames it stands for, so the reader can
// tell whether a block is the one it would have made itself.
//
// Threads: one writer, the deck's stretching (the main mixer's worker, or its engine thread on
// the virtual device): startStream() and offer(). One reader, the monitor mixer's engine thread:
// latestStream(), front() and drop(). Nothing locks, allocates or waits; a block offered while
// the queue is full is left out, which the reader sees as a break in the song positions.
#include <atomic>
#include <cstdint>

#include "audio/realtime/spsc_queue.h"

namespace vx::audio {

class StretchShare {
 public:
  static constexpr int kBlockFrames = 256;

  struct Block {
    uint64_t song = 0;      // the deck's track change that loaded the song
    uint32_t stream = 0;    // the deck's stream (a new one at every jump)
    bool plain = true;      // no loop wrapped inside the frames this block was made from
    bool drained = false;   // the last block of the song
    int frames = 0;
    double start = 0;       // song position of the first frame, in source frames
    double length = 0;      // source frames all `frames` stand for
    double rate = 1;        // the tempo they were stretched to
    double sourcePerInput = 1;  // source frames per frame handed to the stretcher
    float data[kBlockFrames * 2];
  };

  void startStream(uint32_t stream) { latest_.store(stream, std::memory_order_release); }
  void offer(const Block& block) { queue_.push(block); }

  uint32_t latestStream() const { return latest_.load(std::memory_order_acquire); }
  const Block* front() const { return queue_.front(); }
  size_t blocks() const { return queue_.size(); }
  void drop() { queue_.drop(); }

 private:
  SpscQueue<Block, 64> queue_;
  std::atomic<uint32_t> latest_{0};
};

}  // namespace vx::audio
