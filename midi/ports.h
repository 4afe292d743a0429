#pragma once
// The system's MIDI ports through RtMidi: the ALSA sequencer, or JACK MIDI while a JACK server
// runs. Every input port is opened by name (less the excluded ones and the program's own). The
// system tells a PortWatch when ports come or go, and only then does the port layer's thread scan:
// it takes up ports plugged in and closes ports gone, each on its own, so one unplugged leaves the
// rest working. While no port changes and no message arrives, nothing of it runs (on JACK each
// open input is still a client the server runs every period: RtMidi opens one per port). Only
// while no watch can be made (no server yet) does it scan every scanMilliseconds.
// Each input port's messages go straight from RtMidi's thread into the MessageQueue; the window
// thread learns of opened and closed ports, and of a device's output found later, through
// takeEvents() after the same wake-up.
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
    bool opened = false;     // false: the port is gone; true again for an open port: its output changed
    bool hasOutput = false;  // the same device has an output port (for its lamps)
};

class PortWatch;

enum class PortSystem { None, Alsa, Jack };

// Whether a JACK server answers (without starting one).
bool jackServerRunning();

class Ports {
public:
    struct Options {
        std::string clientName = "Velvox";  // ports whose name starts with it are the program's own
        std::vector<std::string> excluded;  // port or device names not to open
        PortSystem system = PortSystem::None;  // None: JACK when a server runs, else ALSA
        int scanMilliseconds = 2000;  // while no watch can be made
    };

    Ports(MessageQueue& queue, Options options);
    ~Ports();
    Ports(const Ports&) = delete;
    Ports& operator=(const Ports&) = delete;

    // Scans once now, then whenever the system's ports change, on the port layer's thread.
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
    void portsChanged();
    bool excluded(const std::string& name) const;
    // Opens the lamps' port of `open`'s device among `outputs`, or closes one gone; true on change.
    bool pairOutput(Open& open, const std::vector<std::string>& outputs);

    MessageQueue& queue_;
    Options options_;
    PortSystem system_ = PortSystem::None;

    std::mutex mutex_;  // guards open_, events_, nextId_, stop_, rescan_, watching_
    std::vector<std::unique_ptr<Open>> open_;
    std::vector<PortEvent> events_;
    uint32_t nextId_ = 1;
    bool stop_ = false;
    bool rescan_ = false;
    bool watching_ = false;
    std::condition_variable wake_;
    std::mutex scanMutex_;  // one scan at a time; guards watch_
    std::unique_ptr<PortWatch> watch_;
    std::thread thread_;
};

}  // namespace vx::midi
