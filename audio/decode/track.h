#pragma once
// One opened file: its decoder and the cache the reader thread fills from it.
//
// Threads: created and asked to seek on the UI thread; serviced on the reader thread; its cache
// is read by the engine. The decoder is touched by the reader thread only once the track has been
// handed to the reader.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "audio/decode/decoder.h"
#include "audio/decode/track_cache.h"

namespace vx::audio {

// A loop between two frames: the stream runs to `out`, then on from `in`. The last frames before
// `out` are crossfaded with those before `in`, so that the wrap is continuous whatever the signal.
struct LoopSpan {
  int64_t in = -1;
  int64_t out = -1;
  bool on() const { return in >= 0 && out > in; }
  // Frames before `out` where the crossfade starts; engine and reader agree on it.
  int64_t crossfadeFrames() const;
  int64_t crossfadeStart() const { return out - crossfadeFrames(); }
};

class Track {
 public:
  // How far ahead of the play head the reader decodes.
  static constexpr double kReadAheadSeconds = 1.5;
  // Chunks decoded for a jump or a loop change before the engine takes it up: a loop change is
  // taken up where the engine already is, up to a rate converter's read-ahead and a device
  // block past the place the UI asked from, and must still have frames to play from there.
  static constexpr int kChunksBeforeTakenUp = 4;
  // The engine wakes the reader when this many chunks' room has opened below the read-ahead,
  // so that the reader decodes in batches and sleeps in between.
  static constexpr int kRefillChunks = 8;

  explicit Track(std::unique_ptr<Decoder> decoder);
  const SourceFormat& format() const { return format_; }
  TrackCache& cache() { return cache_; }

  // UI thread: from now on decode for `generation`, starting at `frame`. A later request
  // replaces one the reader has not taken up yet.
  // A loop (or none) comes with every request: the reader decodes across its wrap ahead of the
  // play head, so that the engine never waits at the wrap. With `through` on, the stream first
  // wraps once at its end as that loop does, then goes on under `loop`: a loop change near the
  // old loop's end follows the sound wherever the engine took it up, before or after the wrap.
  void requestSeek(uint32_t generation, int64_t frame, LoopSpan loop = {}, LoopSpan through = {});

  // The reader that services this track; set once, before it is serviced.
  void attach(class Reader* reader) { reader_ = reader; }

  // Engine thread (or the UI thread while no device renders). Never locks or blocks.
  // Frames were taken from the cache: wakes the reader when the cache has run low.
  void consumed() {
    if (cache_.filled() <= refillBelowChunks_) askForMore();
  }
  // The engine took up a jump: the reader, which held back, may fill the cache now.
  void askForMore();

  // Reader thread: one step of work (take up a seek, or decode one chunk). False when there was
  // nothing to do: the cache is far enough ahead or full, or the file is read to its end.
  bool service();

 private:
  bool takeSeek();
  // Frames to decode into the next chunk, short of the loop's crossfade.
  int framesBeforeCrossfade(int want) const;
  // Fills `chunk` with the crossfade from the next frame to the loop's end and moves the
  // decoder to the loop's start; returns the frames.
  int readCrossfade(Chunk& chunk);
  int64_t framesAhead() const;

  std::unique_ptr<Decoder> decoder_;
  SourceFormat format_;
  TrackCache cache_;
  int64_t readAheadFrames_;
  size_t refillBelowChunks_;
  class Reader* reader_ = nullptr;
  std::atomic<bool> asked_{false};  // a nudge is on its way to the reader

  std::mutex requestMutex_;  // UI thread and reader thread only
  bool seekPending_ = false;
  uint32_t requestedGeneration_ = 0;
  int64_t requestedFrame_ = 0;
  LoopSpan requestedLoop_;
  LoopSpan requestedThrough_;

  // Reader thread's own state.
  uint32_t generation_ = 0;
  int64_t seekFrame_ = 0;
  int64_t nextFrame_ = 0;
  LoopSpan loop_;
  LoopSpan afterWrap_;  // the loop from the first wrap on, while `loop_` is a loop passed through
  bool passingThrough_ = false;
  bool wrapped_ = false;  // this stream has wrapped: its frame numbers no longer grow
  int64_t framesThisStream_ = 0;  // decoded since the last seek taken up
  float loopStart_[Chunk::kFrames * 2];  // the frames before the loop's start, for the crossfade
  bool finished_ = false;
  bool unreachable_ = false;
  bool freshSeek_ = true;
  int chunksForGeneration_ = 0;
};

}  // namespace vx::audio
