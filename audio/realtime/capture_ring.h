#pragma once
// Recorded samples on their way from the thread that captures them (a device callback, the
// engine's render) to the thread that writes them to disk. One producer, one consumer, no locks;
// the room is allocated once, before recording starts.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx::audio {

class CaptureRing {
 public:
  explicit CaptureRing(size_t capacity) : slots_(capacity) {}

  // Producer. Copies what fits; what does not fit is counted as lost, never waited for.
  void write(const float* samples, size_t count) {
    size_t n = offer(samples, count);
    if (n < count) lost_.fetch_add(count - n, std::memory_order_relaxed);
  }

  // Producer. Copies what fits and returns how much that was; the rest is the caller's.
  size_t offer(const float* samples, size_t count) {
    size_t tail = tail_.load(std::memory_order_relaxed);
    size_t room = slots_.size() - (tail - head_.load(std::memory_order_acquire));
    size_t n = std::min(count, room);
    for (size_t i = 0; i < n; ++i) slots_[(tail + i) % slots_.size()] = samples[i];
    tail_.store(tail + n, std::memory_order_release);
    return n;
  }

  // Consumer. Takes up to `max` samples; returns how many.
  size_t read(float* out, size_t max) {
    size_t head = head_.load(std::memory_order_relaxed);
    size_t n = std::min(max, tail_.load(std::memory_order_acquire) - head);
    for (size_t i = 0; i < n; ++i) out[i] = slots_[(head + i) % slots_.size()];
    head_.store(head + n, std::memory_order_release);
    return n;
  }

  // Consumer: how many samples wait to be read.
  size_t available() const {
    return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_relaxed);
  }

  // Only while neither side runs.
  void reset() {
    head_.store(0, std::memory_order_relaxed);
    tail_.store(0, std::memory_order_relaxed);
    lost_.store(0, std::memory_order_relaxed);
  }
  uint64_t lost() const { return lost_.load(std::memory_order_relaxed); }
  size_t capacity() const { return slots_.size(); }

 private:
  std::vector<float> slots_;
  alignas(64) std::atomic<size_t> head_{0};
  alignas(64) std::atomic<size_t> tail_{0};
  std::atomic<uint64_t> lost_{0};
};

}  // namespace vx::audio
