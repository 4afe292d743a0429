#pragma once
// Decides what a hardware control is from the first messages it sends after a window control was
// selected, without asking: a note is a button; a control change on a button is a pad sending
// 127 / 0; pitch bend is a 14-bit position; a control change followed by its partner n + 32 is a
// 14-bit position; values that repeat, or jump across the whole range, around 64 (63 / 65) or
// near 0 (1..31 / 97..127) are relative steps; anything else is an absolute position. A jog wheel
// is relative from its first message. Each new message may revise the guess; only the first
// kMaxObserved count.

#include <optional>
#include <string>
#include <vector>

#include "midi/binding.h"
#include "midi/control_surface.h"

namespace vx::midi {

class Learner {
public:
    static constexpr size_t kMaxObserved = 16;

    // Starts over for the control; nothing observed yet.
    void select(std::string control, ControlKind kind);
    const std::string& control() const { return control_; }
    // The binding the messages so far make, when it is new or changed by m; nullopt when m says
    // nothing new (another control moving meanwhile, a release before any press, ...). shifted:
    // a shift button is held; the first message decides the layer.
    std::optional<Binding> observe(const Message& m, bool shifted);
    // Whether m comes from the hardware control being learned (the partner of a 14-bit pair too).
    bool isLearnedSource(const Message& m) const;

private:
    Meaning decide() const;

    std::string control_;
    ControlKind kind_ = ControlKind::None;
    bool shifted_ = false;
    std::optional<Source> source_;
    std::vector<int> values_;
    bool lowPartnerSeen_ = false;
    std::optional<Meaning> last_;
};

}  // namespace vx::midi
