#pragma once
// Hands messages from the ports' own threads (one per open input port) to the window thread
// without a lock: a bounded multi-producer queue of fixed-size entries, and one wake-up call
// when the queue turns from empty to not empty. While nothing arrives nothing runs.
//
// push() may be called from any thread; pop() and rearm() from the window thread only. A full
// queue drops the message and counts it: a flooding port loses messages, never the window.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace vx::midi {

struct QueuedMessage {
    uint32_t port = 0;       // the id the port layer gave the port
    uint8_t size = 0;        // 1..3 bytes
    uint8_t bytes[3] = {};
    int64_t receivedNs = 0;  // steady clock when the port's thread had it
};

class MessageQueue {
public:
    static constexpr size_t kCapacity = 8192;  // a power of two

    // wake runs on the pushing thread; it must only post to the window thread (and be thread-safe).
    explicit MessageQueue(std::function<void()> wake = {});
    void setWake(std::function<void()> wake) { wake_ = std::move(wake); }

    bool push(const QueuedMessage& m);
    bool pop(QueuedMessage& m);
    // Called by the window thread before it drains: a push after this wakes it again.
    void rearm() { wakePending_.store(false, std::memory_order_seq_cst); }
    // Asks for another wake-up while entries are left over (the window drained only its share).
    void wakeAgain();
    uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

private:
    struct Cell {
        std::atomic<size_t> sequence;
        QueuedMessage message;
    };
    std::unique_ptr<std::array<Cell, kCapacity>> cells_;
    alignas(64) std::atomic<size_t> enqueue_{0};
    alignas(64) std::atomic<size_t> dequeue_{0};
    alignas(64) std::atomic<bool> wakePending_{false};
    std::atomic<uint64_t> dropped_{0};
    std::function<void()> wake_;
};

}  // namespace vx::midi
