#pragma once
// The system's MIDI ports through RtMidi: the ALSA sequencer, or JACK MIDI while a JACK server
// runs. Every input port is opened by name (less the excluded ones and the program's own); a scan
// every two seconds on a thread of its own takes up ports plugged in and closes ports gone, each
// on its own, so one unplugged leaves the rest working. Each input port's messages go straight
// from RtMidi's thread into the MessageQueue; the window thread learns of opened and closed ports
// through takeEvents() after the same wake-up.
//
// Threads: construct, start, takeEvents, send and destroy on the window thread; the scan runs on
// the port layer's own thread.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "midi/message_queue.h"

namespace vx::midi {

struct PortEvent {
    uint32_t id = 0;  // never reused: messages of a port closed since carry an id no longer open
    std::string name;
    bool opened = false;     // false: the port is gone
    bool hasOutput = false;  // the same device has an output port (for its lamps)
};

enum class PortSystem { None, Alsa, Jack };

// Whether a JACK server answers (without starting one).
bool jackServerRunning();

class Ports {
public:
    struct Options {
        std::string clientName = "Velvox";  // ports whose name starts with it are the program's own
        std::vector<std::string> excluded;  // port or device names not to open
        PortSystem system = PortSystem::None;  // None: JACK when a server runs, else ALSA
        int scanMilliseconds = 2000;
    };

    Ports(MessageQueue& queue, Options options);
    ~Ports();
    Ports(const Ports&) = delete;
    Ports& operator=(const Ports&) = delete;

    // Scans once now, then every scanMilliseconds on the port layer's thread.
    void start();
    // One scan, on the calling thread (tests; start() does the same on its own).
    void scanNow();
    PortSystem system() const { return system_; }

    std::vector<PortEvent> takeEvents();
    // Sends to the output port of the device of input port `id`; false when it has none.
    bool send(uint32_t id, std::span<const uint8_t> bytes);

private:
    struct Open;

    void run();
    bool excluded(const std::string& name) const;

    MessageQueue& queue_;
    Options options_;
    PortSystem system_ = PortSystem::None;

    std::mutex mutex_;  // guards open_, events_, nextId_, stop_
    std::vector<std::unique_ptr<Open>> open_;
    std::vector<PortEvent> events_;
    uint32_t nextId_ = 1;
    bool stop_ = false;
    std::condition_variable wake_;
    std::mutex scanMutex_;  // one scan at a time
    std::thread thread_;
};

}  // namespace vx::midi
