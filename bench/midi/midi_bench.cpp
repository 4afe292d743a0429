// From a port's thread to the operation on the window thread: the latency of one message (median,
// p99), and what 10,000 messages a second cost the process, against the same second without them.
// The window thread here sleeps until the wake-up, as the real one does in its event loop.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/bench_timing.h"
#include "midi/midi_system.h"

namespace {

using namespace vx::midi;
using Clock = std::chrono::steady_clock;

int64_t nowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

// Records when the crossfader was last moved.
struct TimingSurface : ControlSurface {
    ControlKind kind(std::string_view) const override { return ControlKind::HorizontalFader; }
    void press(std::string_view) override {}
    void release(std::string_view) override {}
    void setPosition(std::string_view, double p) override
    {
        position_ = p;
        movedNs.store(nowNs());
        ++moves;
    }
    double position(std::string_view) const override { return position_; }
    void turn(std::string_view, int) override {}
    bool lampLit(std::string_view) const override { return false; }
    double position_ = 0.5;
    std::atomic<int64_t> movedNs{0};
    std::atomic<int> moves{0};
};

struct WindowThread {
    WindowThread(MessageQueue& q, MidiSystem& m) : queue(q), midi(m)
    {
        queue.setWake([this] {
            std::lock_guard lock(mutex);
            woken = true;
            cv.notify_one();
        });
        thread = std::thread([this] {
            std::unique_lock lock(mutex);
            while (!stop) {
                cv.wait(lock, [&] { return woken || stop; });
                woken = false;
                lock.unlock();
                // Under a flood, wake-ups close together are gathered: a drain less than 2 ms after
                // the last one waits out the rest of the 2 ms, so one drain takes many messages.
                const auto now = Clock::now();
                if (now - lastDrain < std::chrono::milliseconds(2))
                    std::this_thread::sleep_until(lastDrain + std::chrono::milliseconds(2));
                lastDrain = Clock::now();
                midi.drain();
                lock.lock();
            }
        });
    }
    ~WindowThread()
    {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        cv.notify_one();
        thread.join();
    }
    MessageQueue& queue;
    MidiSystem& midi;
    std::mutex mutex;
    std::condition_variable cv;
    bool woken = false, stop = false;
    Clock::time_point lastDrain{};
    std::thread thread;
};

}  // namespace

int main()
{
    const auto folder = std::filesystem::temp_directory_path() / "velvox-midi-bench";
    std::filesystem::create_directories(folder);
    TimingSurface surface;
    MessageQueue queue;
    MidiSystem midi(surface, queue, folder.string());
    // A controller whose CC 8 is bound to the crossfader, taken over at the middle.
    midi.setLearning(true);
    midi.select("crossfader");
    const uint8_t first[] = {0xB0, 0x08, 0x40};
    midi.deliver("Bench", first);
    midi.setLearning(false);
    midi.deliver("Bench", first);
    midi.portOpened(PortEvent{1, "Bench", true, false});

    {
        WindowThread window(queue, midi);
        std::vector<double> latencies;
        for (int i = 0; i < 1000; ++i) {
            const int before = surface.moves.load();
            const int64_t sent = nowNs();
            queue.push(QueuedMessage{1, 3, {0xB0, 0x08, uint8_t(i % 2 ? 0x40 : 0x41)}, sent});
            while (surface.moves.load() == before)
                std::this_thread::yield();
            latencies.push_back((surface.movedNs.load() - sent) * 1e-6);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));  // a hand on a fader, not a flood
        }
        std::sort(latencies.begin(), latencies.end());
        std::printf("message to operation: median %.3f ms, p99 %.3f ms (targets 1 ms, 5 ms)\n",
                    latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100]);

        // One second idle, then one second with 10,000 messages in it.
        const auto second = [&](bool flood) {
            const double cpu0 = vx::bench::cpuSeconds();
            const auto start = Clock::now();
            for (int i = 0; i < 10000; ++i) {
                if (flood)
                    queue.push(QueuedMessage{1, 3, {0xB0, 0x08, uint8_t(0x3E + i % 5)}, nowNs()});
                std::this_thread::sleep_until(start + std::chrono::microseconds(100 * (i + 1)));
            }
            return vx::bench::cpuSeconds() - cpu0;
        };
        const double idle = second(false);
        const int movesBefore = surface.moves.load();
        const double flood = second(true);
        std::printf("10,000 messages a second: %.2f %% of a core (the same second idle: %.2f %%, of which the "
                    "sender's pacing), %d operations, %llu dropped\n",
                    flood * 100, idle * 100, surface.moves.load() - movesBefore,
                    static_cast<unsigned long long>(queue.dropped()));
        std::printf("%-34s ratio %.2f\n", "flood cost against idle second", flood / std::max(idle, 1e-9));
    }
    std::filesystem::remove_all(folder);
}
