#include "audio/decode/track.h"

#include <algorithm>

#include "audio/decode/reader.h"

namespace vx::audio {

Track::Track(std::unique_ptr<Decoder> decoder)
    : decoder_(std::move(decoder)),
      format_(decoder_->format()),
      // Leave a quarter of the ring free, so that a seek always finds room for fresh frames
      // while stale ones still wait to be dropped by the engine.
      readAheadFrames_(std::min<int64_t>(static_cast<int64_t>(kReadAheadSeconds * format_.sampleRate),
                                         static_cast<int64_t>(TrackCache::kChunks * 3 / 4) * Chunk::kFrames)),
      refillBelowChunks_(static_cast<size_t>(std::max<int64_t>(readAheadFrames_ / Chunk::kFrames - kRefillChunks,
                                                               std::max<int64_t>(readAheadFrames_ / Chunk::kFrames / 2, 1)))) {}

void Track::askForMore() {
  if (reader_ && !asked_.exchange(true, std::memory_order_acq_rel)) reader_->nudge();
}

void Track::requestSeek(uint32_t generation, int64_t frame) {
  std::lock_guard<std::mutex> lock(requestMutex_);
  seekPending_ = true;
  requestedGeneration_ = generation;
  requestedFrame_ = frame;
}

bool Track::takeSeek() {
  uint32_t generation;
  int64_t frame;
  {
    std::lock_guard<std::mutex> lock(requestMutex_);
    if (!seekPending_) return false;
    seekPending_ = false;
    generation = requestedGeneration_;
    frame = requestedFrame_;
  }
  generation_ = generation;
  seekFrame_ = nextFrame_ = frame;
  // A place the decoder cannot reach ends the file there (an empty last chunk tells the engine).
  finished_ = false;
  unreachable_ = !decoder_->seek(frame);
  freshSeek_ = true;
  chunksForGeneration_ = 0;
  return true;
}

int64_t Track::framesAhead() const {
  int64_t playHead = cache_.playGeneration() == generation_ ? cache_.playFrame() : seekFrame_;
  return nextFrame_ - std::max(playHead, seekFrame_);
}

bool Track::service() {
  asked_.store(false, std::memory_order_release);
  if (takeSeek()) return true;
  if (finished_ || framesAhead() >= readAheadFrames_) return false;
  // Until the engine has taken this jump up, decode only a little: the UI may jump again at
  // once, and frames for a forgotten jump only take room in the ring.
  if (cache_.playGeneration() != generation_ && chunksForGeneration_ >= kChunksBeforeTakenUp) return false;
  Chunk* chunk = cache_.writable();
  if (!chunk) return false;
  // The first chunk after a seek is small, so that playing resumes as early as possible.
  int want = freshSeek_ ? Chunk::kFrames / 2 : Chunk::kFrames;
  int got = unreachable_ ? 0 : decoder_->read(chunk->data, want);
  chunk->generation = generation_;
  chunk->start = nextFrame_;
  chunk->frames = got;
  chunk->last = got < want;
  cache_.commit();
  nextFrame_ += got;
  finished_ = chunk->last;
  freshSeek_ = false;
  ++chunksForGeneration_;
  return true;
}

}  // namespace vx::audio
