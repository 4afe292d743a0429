#pragma once
// Knowing which MIDI ports the system has, and being told when that changes, without waking
// while nothing changes: JACK's port registration callback, or the ALSA sequencer's announce
// port read by a thread that blocks. The port layer rescans only when told.
//
// Threads: make, list and destroy on the port layer's thread; `changed` runs on the watch's own
// thread (JACK's notification thread or the reader) and must only signal.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx::midi {

class PortWatch {
public:
    virtual ~PortWatch() = default;
    // The names of the ports messages can come from (`sources`) and lamps can go to
    // (`destinations`), as RtMidi names them; false when the system is gone (JACK shut down).
    virtual bool list(std::vector<std::string>& sources, std::vector<std::string>& destinations) = 0;
};

// nullptr when the system does not answer now.
std::unique_ptr<PortWatch> makeJackWatch(const std::string& clientName, std::function<void()> changed);
std::unique_ptr<PortWatch> makeAlsaWatch(const std::string& clientName, std::function<void()> changed);

}  // namespace vx::midi
