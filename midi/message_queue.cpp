#include "midi/message_queue.h"

namespace vx::midi {

MessageQueue::MessageQueue(std::function<void()> wake)
    : cells_(std::make_unique<std::array<Cell, kCapacity>>()), wake_(std::move(wake))
{
    for (size_t i = 0; i < kCapacity; ++i)
        (*cells_)[i].sequence.store(i, std::memory_order_relaxed);
}

// Bounded queue after D. Vyukov: each cell's sequence says whose turn it is.
bool MessageQueue::push(const QueuedMessage& m)
{
    size_t pos = enqueue_.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = (*cells_)[pos & (kCapacity - 1)];
        const size_t seq = cell.sequence.load(std::memory_order_acquire);
        const auto diff = static_cast<intptr_t>(seq) - static_cast<intptr_t>(pos);
        if (diff == 0) {
            if (enqueue_.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                cell.message = m;
                cell.sequence.store(pos + 1, std::memory_order_release);
                break;
            }
        } else if (diff < 0) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            wakeAgain();  // the window may have missed nothing, but make sure it drains
            return false;
        } else {
            pos = enqueue_.load(std::memory_order_relaxed);
        }
    }
    wakeAgain();
    return true;
}

bool MessageQueue::pop(QueuedMessage& m)
{
    size_t pos = dequeue_.load(std::memory_order_relaxed);
    Cell& cell = (*cells_)[pos & (kCapacity - 1)];
    const size_t seq = cell.sequence.load(std::memory_order_acquire);
    if (static_cast<intptr_t>(seq) - static_cast<intptr_t>(pos + 1) < 0)
        return false;
    m = cell.message;
    cell.sequence.store(pos + kCapacity, std::memory_order_release);
    dequeue_.store(pos + 1, std::memory_order_relaxed);
    return true;
}

void MessageQueue::wakeAgain()
{
    if (!wakePending_.exchange(true, std::memory_order_seq_cst) && wake_)
        wake_();
}

}  // namespace vx::midi
