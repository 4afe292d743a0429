#pragma once
// MIDI on the window thread: the open ports' state, each controller's mapping (loaded from and
// saved to its file in the home folder), learning, operating controls and the lamps.
//
// The window wires it up so:
//   MessageQueue queue([&] { post drain() to the window thread });
//   Ports ports(queue, {...});  MidiSystem midi(surface, queue, home);  midi.attach(&ports);
//   ports.start();
// and calls refreshLamps() after anything that may light or darken a lamp. Everything here runs
// on the window thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "midi/control_surface.h"
#include "midi/dispatcher.h"
#include "midi/lamps.h"
#include "midi/learner.h"
#include "midi/mapping.h"
#include "midi/message_queue.h"
#include "midi/ports.h"

namespace vx::midi {

class MidiSystem {
public:
    // At most this many queued messages per wake-up; the rest waits for the next one, so a
    // flooding port never holds the window thread.
    static constexpr size_t kMaxPerWakeUp = 256;
    using LampOutput = std::function<void(uint32_t port, std::span<const uint8_t>)>;

    MidiSystem(ControlSurface& surface, MessageQueue& queue, std::string mappingFolder);

    // The port layer to take port events from and to send lamps through (nullptr: none).
    void attach(Ports* ports) { ports_ = ports; }
    // Lets go of the attached port layer: its ports count as closed (held pads released), and
    // nothing is taken from it any more. The ports the headless driver named stay.
    void detachPorts();
    // Where lamps go instead of attached ports (tests, the headless program).
    void setLampOutput(LampOutput out) { lampOutput_ = std::move(out); }

    // The wake-up's work: port events, then up to kMaxPerWakeUp messages; asks for another
    // wake-up when some are left. True when messages were left.
    bool drain();
    void portOpened(const PortEvent& e);
    void portClosed(uint32_t id);

    // Bytes as if from the named port: an open port of that name, else one made up for it (with
    // the same mapping file). The headless driver's `midi PORT B1 B2 [B3]`.
    void deliver(std::string_view portName, std::span<const uint8_t> bytes);

    // Learning: while on, messages of the hardware control being learned bind it and operate
    // nothing; other bound controls keep working; shift buttons keep shifting.
    void setLearning(bool on);
    bool learning() const { return learning_; }
    // Selects the control the next message binds; false for a name MIDI cannot operate.
    bool select(std::string_view control);
    const std::string& selected() const { return learner_.control(); }
    std::vector<Binding> bindingsOf(std::string_view control) const;
    // Clears the control's bindings on every controller; how many there were.
    size_t clearBindings(std::string_view control);
    // Makes the control's button bindings shift buttons; false when it has none.
    bool markShift(std::string_view control);

    void refreshLamps();
    // Messages for the user (damaged mapping lines, files that could not be written), oldest first.
    std::vector<std::string> takeMessages() { return std::exchange(messages_, {}); }
    std::string mappingPath(std::string_view portName) const;
    // The ports open now (the extended settings' MIDI tab lists them to exclude some).
    std::vector<std::string> portNames() const;
    // How many messages the attached ports' queue has handed over so far.
    uint64_t drained() const { return drained_; }
    // Whether the open port of that name has its device's output for lamps.
    bool lampsReach(std::string_view portName) const;

private:
    struct Port {
        PortState state;
        bool hasOutput = false;
        Lamps lamps;
    };

    Port& openPort(uint32_t id, const std::string& name, bool hasOutput);
    Mapping& mappingOf(const std::string& device);
    void handle(Port& port, const Message& m);
    bool learn(Port& port, const Message& m);
    void save(const std::string& device);
    void endBatch();

    ControlSurface& surface_;
    MessageQueue& queue_;
    std::string folder_;
    Ports* ports_ = nullptr;
    LampOutput lampOutput_;
    Dispatcher dispatcher_;
    std::map<uint32_t, Port> portsById_;
    std::map<std::string, Mapping> mappings_;  // by device name
    uint32_t nextMadeUpId_ = 0x80000000u;      // ids of ports the headless driver names
    uint64_t drained_ = 0;

    bool learning_ = false;
    Learner learner_;
    std::string learnDevice_;
    std::vector<std::string> messages_;
};

}  // namespace vx::midi
