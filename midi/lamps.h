#pragma once
// The lamps of a device's bound buttons, sent back to its output port on change only: a note on
// with velocity 127 (lit) or 0 (dark) for buttons bound to notes, the same control change with
// 127 / 0 for pads bound to control changes. Window thread only.

#include <cstdint>
#include <functional>
#include <span>
#include <unordered_map>

#include "midi/control_surface.h"
#include "midi/mapping.h"

namespace vx::midi {

class Lamps {
public:
    using Send = std::function<void(std::span<const uint8_t>)>;

    // Sends what changed since the last call; shifted picks the layer the buttons show.
    void refresh(const ControlSurface& surface, const Mapping& mapping, bool shifted, const Send& send);
    // The device's lamps are unknown again (the port was opened anew): the next refresh sends all.
    void forget() { sent_.clear(); }

private:
    std::unordered_map<uint32_t, bool> sent_;  // source key -> lit
};

}  // namespace vx::midi
