#pragma once
// One opened file: its decoder and the cache the reader thread fills from it.
//
// Threads: created and asked to seek on the UI thread; serviced on the reader thread; its cache
// is read by the engine. The decoder is touched by the reader thread only once the track has been
// handed to the reader.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "audio/decoder.h"
#include "audio/track_cache.h"

namespace vx::audio {

class Track {
 public:
  // How far ahead of the play head the reader decodes.
  static constexpr double kReadAheadSeconds = 1.5;
  static constexpr int kChunksBeforeTakenUp = 2;

  explicit Track(std::unique_ptr<Decoder> decoder);
  const SourceFormat& format() const { return format_; }
  TrackCache& cache() { return cache_; }

  // UI thread: from now on decode for `generation`, starting at `frame`. A later request
  // replaces one the reader has not taken up yet.
  void requestSeek(uint32_t generation, int64_t frame);

  // Reader thread: one step of work (take up a seek, or decode one chunk). False when there was
  // nothing to do: the cache is far enough ahead or full, or the file is read to its end.
  bool service();

 private:
  bool takeSeek();
  int64_t framesAhead() const;

  std::unique_ptr<Decoder> decoder_;
  SourceFormat format_;
  TrackCache cache_;
  int64_t readAheadFrames_;

  std::mutex requestMutex_;  // UI thread and reader thread only
  bool seekPending_ = false;
  uint32_t requestedGeneration_ = 0;
  int64_t requestedFrame_ = 0;

  // Reader thread's own state.
  uint32_t generation_ = 0;
  int64_t seekFrame_ = 0;
  int64_t nextFrame_ = 0;
  bool finished_ = false;
  bool unreachable_ = false;
  bool freshSeek_ = true;
  int chunksForGeneration_ = 0;
};

}  // namespace vx::audio
