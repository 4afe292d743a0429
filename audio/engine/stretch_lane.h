#pragma once
// One voice's key lock stage, run ahead of the audio callback: the callback hands it converted
// frames (each block carrying the rate it is to be stretched with, and a jump as a restart
// block), a worker stretches them into a queue of finished blocks some callbacks ahead, and the
// callback only copies those out. Each finished block says how many converted frames it stands
// for, so the voice's position stays in the song's own time whatever the rate did meanwhile.
// A change of rate is heard once the frames already handed over are played: at most
// kAheadFrames output frames plus the stretcher's own delay.
//
// Threads: prepare(), setWorker() and setShare() on the UI thread while nothing renders (they
// allocate or join). restart(), inputWanted(), push(), kick(), take(), ready(), drained() and missed() on
// the engine thread only; none of them locks, allocates or waits. work() on the worker's thread,
// or on the engine thread from kick() while no worker is set (the virtual device: the stretching
// then happens in the callback, at the same place in the stream, so what is rendered never
// depends on thread timing).
#include <atomic>
#include <cstdint>

#include "audio/engine/stretch_share.h"
#include "audio/engine/time_stretch.h"
#include "audio/realtime/spsc_queue.h"

namespace vx::audio {

class StretchWorker;

// Where the frames handed to a lane come from, for the share: the song, the song position of the
// first frame handed over since the restart (read from the first push only), the source frames
// per frame handed over, and whether a loop may wrap inside them.
struct StretchOrigin {
  uint64_t song = 0;
  double start = 0;
  double sourcePerInput = 1;
  bool plain = true;
};

class StretchLane {
 public:
  static constexpr int kBlockFrames = 256;
  // Output frames the worker keeps ready beyond what the callback takes next.
  static constexpr int kAheadFrames = 2048;
  // The worker is woken once fewer stretched frames than this are ready: it then stretches two
  // blocks or more at once. The frames left ready are the margin of the headphone monitor too,
  // which takes the deck's frames on its own clock and may run ahead of the deck's callback.
  static constexpr int kWakeBelow = 1536;

  void prepare(int sampleRate);
  bool ok() const { return stretch_.ok(); }
  void setWorker(StretchWorker* worker) { worker_ = worker; }
  // Offers every stretched block to `share` as well (null: to none).
  void setShare(StretchShare* share) { share_ = share; }

  // Engine thread. Forgets everything handed over and starts again at tempo `rate`.
  void restart(double rate);
  // Converted frames to hand over now to stay kAheadFrames ahead at `rate`.
  int inputWanted(double rate);
  // Up to kBlockFrames interleaved stereo frames; `last`: the input ends with them.
  void push(const float* in, int frames, double rate, bool last, const StretchOrigin& origin = StretchOrigin{});
  // Lets the stretching catch up with what was handed over and taken.
  void kick();
  // Writes up to `frames` stretched frames to `out`; returns how many, and in `input` how many
  // converted frames they stand for.
  int take(float* out, int frames, double& input);
  // Frames were handed over since the last restart.
  bool started() const { return handedOver_ > 0 || lastPushed_; }
  // Stretched frames since the last restart are waiting.
  bool ready();
  // The input ended and every stretched frame of it has been taken.
  bool drained() const { return drained_; }
  // Engine thread: `frames` the voice wanted to play were not there.
  void missed(int frames);
  // Frames missed in mid-stream: the worker fell behind. Any thread (a benchmark counts them).
  uint64_t lateFrames() const { return late_.load(std::memory_order_relaxed); }
  // Frames the stretcher has made so far. Any thread.
  uint64_t stretchedFrames() const { return stretched_.load(std::memory_order_relaxed); }

  // The worker's side: stretches what was handed over until the finished queue is full or the
  // input runs out.
  void work();

 private:
  struct InBlock {
    uint32_t epoch;
    int frames;
    double rate;
    bool restart;
    bool last;
    StretchOrigin origin;
    float data[kBlockFrames * 2];
  };
  struct OutBlock {
    uint32_t epoch;
    int frames;
    double input;  // converted frames these stand for
    bool drained;  // the last block of its epoch
    float data[kBlockFrames * 2];
  };
  // Stretched frames the engine can take now.
  int readyFrames() const;
  bool sendPending();
  bool finishBlock();
  bool feedFromInput();
  // The worker's view of the stream it stretches, for the share.
  void noteInput(const InBlock& block);
  void offerShared(const OutBlock& block);

  TimeStretch stretch_;
  StretchWorker* worker_ = nullptr;
  SpscQueue<InBlock, 64> in_;
  SpscQueue<OutBlock, 32> out_;
  std::atomic<uint32_t> latest_{0};  // the engine's current epoch, so that the worker skips stale work
  std::atomic<uint64_t> late_{0};
  std::atomic<uint64_t> stretched_{0};

  // Engine side.
  uint32_t epoch_ = 0;
  bool restartPending_ = false;  // the restart block found no room yet
  double restartRate_ = 1;
  bool lastPushed_ = false;
  bool drained_ = false;
  bool changed_ = false;         // something was handed over or taken since the last kick()
  double handedOver_ = 0;        // converted frames pushed this epoch
  double takenInput_ = 0;        // converted frames the frames taken stand for
  InBlock building_{};
  OutBlock reading_{};
  int readAt_ = 0;
  bool haveReading_ = false;
  int stretcherFrames_ = 0;      // frames the stretcher itself holds, at rate 1

  // Worker side.
  uint32_t workEpoch_ = 0;
  InBlock feeding_{};
  int fedAt_ = 0;
  bool haveFeeding_ = false;
  OutBlock finished_{};
  bool havePending_ = false;
  bool drainSent_ = false;
  StretchShare* share_ = nullptr;
  StretchOrigin origin_{};
  bool originKnown_ = false;
  bool plain_ = true;       // no input block of this stream could wrap a loop
  double sharedInput_ = 0;  // converted frames the stream's finished blocks stood for
  double fedRate_ = 1;
};

}  // namespace vx::audio
