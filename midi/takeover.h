#pragma once
// Soft takeover of one absolute control: the hardware moves the control only after it has met
// the window's position, so nothing jumps on the first touch, after a song load moved the control,
// or when a fader is knocked from one end to the other. No time enters: the headless driver sends
// messages without time between them, and a fast move must still not slam a fader.

#include <optional>

namespace vx::midi {

class SoftTakeover {
public:
    static constexpr double kNear = 1.0 / 32;       // of the travel: close enough to take over
    static constexpr double kSmallStep = 1.0 / 8;   // a step that may cross the window's position

    // value: where the hardware is now (0..1); window: where the window's control is. True when the
    // value is to be applied. Taken over when the value lands within kNear of the window's position,
    // or when it and the previous value lie on either side of it less than kSmallStep apart.
    bool accept(double value, double window);
    // Where the window's control stands after the value was applied (it may round to its steps).
    // A later window position that differs means someone else moved it: the hardware must meet it
    // again.
    void applied(double window) { applied_ = window; }

private:
    bool engaged_ = false;
    std::optional<double> previous_;
    std::optional<double> applied_;
};

}  // namespace vx::midi
