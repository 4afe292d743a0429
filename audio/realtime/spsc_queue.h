#pragma once
// A fixed-size queue between exactly one producing and one consuming thread, without locks.
// push() is called by the producer only, pop() by the consumer only; neither ever allocates
// or blocks.
#include <array>
#include <atomic>
#include <cstddef>
#include <type_traits>

namespace vx::audio {

template <typename T, size_t Capacity>
class SpscQueue {
  static_assert((Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");
  static_assert(std::is_trivially_copyable_v<T>, "elements are copied between threads");

 public:
  // False when the queue is full (the element is not added).
  bool push(const T& value) {
    size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
    slots_[tail & (Capacity - 1)] = value;
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }
  // Whether push() would fail now; the producer only.
  bool full() const { return tail_.load(std::memory_order_relaxed) - head_.load(std::memory_order_acquire) == Capacity; }
  // False when the queue is empty.
  bool pop(T& value) {
    size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return false;
    value = slots_[head & (Capacity - 1)];
    head_.store(head + 1, std::memory_order_release);
    return true;
  }
  // The consumer's view of the oldest element without taking it (null when empty); it stays
  // valid until drop(), as the producer never writes a slot not yet taken.
  const T* front() const {
    size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return nullptr;
    return &slots_[head & (Capacity - 1)];
  }
  // Elements waiting; exact for the consumer, which only sees it grow meanwhile.
  size_t size() const { return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_relaxed); }
  // Takes the oldest element unread; the consumer only, after front() gave one.
  void drop() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

 private:
  std::array<T, Capacity> slots_{};
  alignas(64) std::atomic<size_t> head_{0};
  alignas(64) std::atomic<size_t> tail_{0};
};

}  // namespace vx::audio
