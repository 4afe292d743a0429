#pragma once
// Decoded frames of one track, waiting between the reader thread (which fills the cache ahead of
// the play head) and the engine (which plays from it). A ring of chunks with one writer and one
// reader and no locks. Each chunk carries the seek generation it was decoded for, so that after
// a seek the engine can tell stale frames from the ones it waits for.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace vx::audio {

struct Chunk {
  static constexpr int kFrames = 2048;
  uint32_t generation = 0;
  int64_t start = 0;  // frame number of the first frame; a loop's wrap starts a new chunk
  int frames = 0;
  bool last = false;  // the file ends after this chunk
  float data[kFrames * 2];
};

class TrackCache {
 public:
  static constexpr size_t kChunks = 64;

  TrackCache() : chunks_(std::make_unique<std::array<Chunk, kChunks>>()) {}

  // Writer (reader thread). The chunk to fill, or null when the ring is full; commit() hands it over.
  Chunk* writable() {
    size_t w = written_.load(std::memory_order_relaxed);
    if (w - read_.load(std::memory_order_acquire) == kChunks) return nullptr;
    return &(*chunks_)[w % kChunks];
  }
  void commit() {
    size_t w = written_.load(std::memory_order_relaxed);
    framesWritten_.store(framesWritten_.load(std::memory_order_relaxed) + (*chunks_)[w % kChunks].frames,
                         std::memory_order_relaxed);
    written_.store(w + 1, std::memory_order_release);
  }

  // Reader (engine). The oldest filled chunk, or null; release() frees it for the writer.
  const Chunk* front() const {
    size_t r = read_.load(std::memory_order_relaxed);
    if (r == written_.load(std::memory_order_acquire)) return nullptr;
    return &(*chunks_)[r % kChunks];
  }
  void release() {
    size_t r = read_.load(std::memory_order_relaxed);
    framesReleased_.store(framesReleased_.load(std::memory_order_relaxed) + (*chunks_)[r % kChunks].frames,
                          std::memory_order_release);
    read_.store(r + 1, std::memory_order_release);
  }
  // The `i`-th waiting chunk (0 = the front one), or null: the engine looks past the front for
  // the first chunk of a loop change, which continues the same sound.
  const Chunk* peek(size_t i) const {
    size_t r = read_.load(std::memory_order_relaxed);
    if (i >= written_.load(std::memory_order_acquire) - r) return nullptr;
    return &(*chunks_)[(r + i) % kChunks];
  }
  // How many chunks wait, the front one included.
  size_t filled() const { return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed); }

  // Writer: frames in the waiting chunks, the front one whole.
  int64_t framesWaiting() const {
    return framesWritten_.load(std::memory_order_relaxed) - framesReleased_.load(std::memory_order_acquire);
  }

  // Engine -> reader: where the play head stands, so that the reader knows how far ahead it is.
  void setPlayHead(uint32_t generation, int64_t frame) {
    playFrame_.store(frame, std::memory_order_relaxed);
    playGeneration_.store(generation, std::memory_order_release);
  }
  uint32_t playGeneration() const { return playGeneration_.load(std::memory_order_acquire); }
  int64_t playFrame() const { return playFrame_.load(std::memory_order_relaxed); }

 private:
  std::unique_ptr<std::array<Chunk, kChunks>> chunks_;
  alignas(64) std::atomic<size_t> written_{0};
  std::atomic<int64_t> framesWritten_{0};  // the writer's count
  alignas(64) std::atomic<size_t> read_{0};
  std::atomic<int64_t> framesReleased_{0};  // the engine's count
  std::atomic<uint32_t> playGeneration_{0};
  std::atomic<int64_t> playFrame_{0};
};

}  // namespace vx::audio
