#pragma once
// Turns the messages of bound sources into operations on the window's controls. Window thread only.
//
// Messages are handled in batches (one wake-up's worth): buttons act at once, in order; absolute
// positions and relative steps of one control are gathered and applied once at endBatch(), so a
// flood of moves costs one operation per control and wake-up. Soft takeover still sees every
// message.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "midi/binding.h"
#include "midi/control_surface.h"
#include "midi/mapping.h"
#include "midi/message.h"
#include "midi/takeover.h"

namespace vx::midi {

// What one open port (or one port the headless driver names) carries between messages.
struct PortState {
    std::string name;    // as the system names the port
    std::string device;  // deviceNameOf(name): which mapping it uses
    Parser parser;
    int shiftHeld = 0;                                 // shift buttons held down
    std::unordered_map<uint32_t, std::string> held;    // source key -> the control its press went to
    std::unordered_map<uint32_t, int> high;            // 14-bit pairs: the high 7 bits last sent
    std::optional<Source> pendingHigh;                 // a high half still waiting for its low half
    std::unordered_map<uint32_t, int> lastAbsolute;    // absolute values of a jog wheel
};

class Dispatcher {
public:
    explicit Dispatcher(ControlSurface& surface) : surface_(surface) {}

    void handle(PortState& port, const Mapping& mapping, const Message& m);
    // Applies a 14-bit high half that no low half followed (the low half is then 0, as MIDI has it).
    void flushHigh(PortState& port, const Mapping& mapping);
    // Applies the gathered positions and steps.
    void endBatch();
    // Releases what the port's pads hold down and forgets its shift: the port went away.
    void releaseAll(PortState& port);

private:
    struct Pending {
        std::string control;
        std::optional<double> position;
        int steps = 0;
    };

    void button(PortState& port, uint32_t key, const std::string& control, bool down);
    void shift(PortState& port, uint32_t key, bool down);
    void absolute(PortState& port, const Binding& b, double position, int raw7);
    void relative(const std::string& control, int steps);
    Pending& pendingFor(const std::string& control);
    double windowPosition(const std::string& control);

    ControlSurface& surface_;
    std::vector<Pending> pending_;
    std::unordered_map<std::string, SoftTakeover> takeover_;
};

}  // namespace vx::midi
