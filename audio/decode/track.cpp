#include "audio/decode/track.h"

#include <algorithm>

#include "audio/decode/reader.h"

namespace vx::audio {
namespace {
// Long enough that two steady tones out of phase blend without a click (11.6 ms at 44.1 kHz).
constexpr int64_t kLoopCrossfadeFrames = 512;
}  // namespace

int64_t LoopSpan::crossfadeFrames() const {
  if (!on()) return 0;
  return std::min({kLoopCrossfadeFrames, in, (out - in) / 2});
}

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

void Track::requestSeek(uint32_t generation, int64_t frame, LoopSpan loop, LoopSpan through) {
  std::lock_guard<std::mutex> lock(requestMutex_);
  seekPending_ = true;
  requestedGeneration_ = generation;
  requestedFrame_ = frame;
  requestedLoop_ = loop;
  requestedThrough_ = through;
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
    passingThrough_ = requestedThrough_.on() && frame < requestedThrough_.out;
    afterWrap_ = requestedLoop_;
    loop_ = passingThrough_ ? requestedThrough_ : requestedLoop_;
  }
  generation_ = generation;
  seekFrame_ = nextFrame_ = frame;
  // A place the decoder cannot reach ends the file there (an empty last chunk tells the engine).
  finished_ = false;
  unreachable_ = !decoder_->seek(frame);
  freshSeek_ = true;
  wrapped_ = false;
  framesThisStream_ = 0;
  chunksForGeneration_ = 0;
  return true;
}

int64_t Track::framesAhead() const {
  const bool takenUp = cache_.playGeneration() == generation_;
  // Inside a loop frame numbers repeat: a loop shorter than the read-ahead is decoded more than
  // once ahead of the play head, so only the frames waiting in the ring tell how far ahead it is.
  // Stale frames of earlier streams wait in front of this one's: while any do, none of this
  // stream's has been played.
  if ((loop_.on() || wrapped_) && takenUp) return std::min(cache_.framesWaiting(), framesThisStream_);
  int64_t playHead = takenUp ? cache_.playFrame() : seekFrame_;
  return nextFrame_ - std::max(playHead, seekFrame_);
}

int Track::framesBeforeCrossfade(int want) const {
  if (!loop_.on() || nextFrame_ >= loop_.out) return want;
  return static_cast<int>(std::min<int64_t>(want, loop_.crossfadeStart() - nextFrame_));
}

int Track::readCrossfade(Chunk& chunk) {
  // From here to the loop's end, the end fades out while the frames as far before the loop's
  // start fade in; the frame after the last one is the loop's start.
  const int64_t fade = loop_.crossfadeFrames();
  const int frames = static_cast<int>(loop_.out - nextFrame_);
  int got = unreachable_ ? 0 : decoder_->read(chunk.data, frames);
  std::fill(chunk.data + 2 * got, chunk.data + 2 * frames, 0.0f);
  const int64_t from = loop_.in - frames;
  int before = decoder_->seek(from) ? decoder_->read(loopStart_, frames) : 0;
  std::fill(loopStart_ + 2 * before, loopStart_ + 2 * frames, 0.0f);
  for (int i = 0; i < frames; ++i) {
    float w = static_cast<float>(static_cast<double>(nextFrame_ + i - loop_.crossfadeStart() + 1) / (fade + 1));
    for (int c = 0; c < 2; ++c) chunk.data[2 * i + c] = chunk.data[2 * i + c] * (1 - w) + loopStart_[2 * i + c] * w;
  }
  unreachable_ = before < frames && !decoder_->seek(loop_.in);
  return frames;
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
  int want = framesBeforeCrossfade(freshSeek_ ? Chunk::kFrames / 2 : Chunk::kFrames);
  const bool wrapping = want <= 0;
  int got = wrapping ? readCrossfade(*chunk) : unreachable_ ? 0 : decoder_->read(chunk->data, want);
  chunk->generation = generation_;
  chunk->start = nextFrame_;
  chunk->frames = got;
  chunk->last = !wrapping && got < want;
  cache_.commit();
  framesThisStream_ += got;
  nextFrame_ = wrapping ? loop_.in : nextFrame_ + got;
  bool wrapped = wrapping;
  if (!wrapping && loop_.on() && loop_.crossfadeFrames() == 0 && nextFrame_ == loop_.out) {
    // A loop from the song's first frame has nothing before its start to blend with.
    unreachable_ = !decoder_->seek(loop_.in);
    nextFrame_ = loop_.in;
    wrapped = true;
  }
  wrapped_ = wrapped_ || wrapped;
  if (wrapped && passingThrough_) {
    loop_ = afterWrap_;
    passingThrough_ = false;
  }
  finished_ = chunk->last;
  freshSeek_ = false;
  ++chunksForGeneration_;
  return true;
}

}  // namespace vx::audio
