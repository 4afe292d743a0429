#pragma once
// What MIDI needs from the layer that operates the window's controls by name: the same layer the
// mouse, the keyboard and the scenario driver use. Names are the driver's references
// ("Pause(0)", "crossfader", "jogbtn(1)"). Everything here is called on the window thread only.

#include <string_view>

namespace vx::midi {

enum class ControlKind {
    None,             // no control of that name (or one MIDI cannot operate)
    Button,           // press / release; buttons that act while held act while the pad is held
    Knob,             // absolute position over its travel
    VerticalFader,    // likewise; 0 = bottom
    HorizontalFader,  // likewise; 0 = left
    JogWheel,         // relative turns only
};

inline bool isAbsoluteKind(ControlKind k)
{
    return k == ControlKind::Knob || k == ControlKind::VerticalFader || k == ControlKind::HorizontalFader;
}

class ControlSurface {
public:
    virtual ~ControlSurface() = default;

    virtual ControlKind kind(std::string_view name) const = 0;

    // As a mouse press and release on the control. A release always follows its press, also when
    // the port went away in between.
    virtual void press(std::string_view name) = 0;
    virtual void release(std::string_view name) = 0;

    // Position over the control's whole travel, 0..1, as a drag of the mouse would leave it.
    // position() reads back what the window shows, which may be rounded to the control's steps.
    virtual void setPosition(std::string_view name, double position) = 0;
    virtual double position(std::string_view name) const = 0;

    // Relative steps of an endless encoder or jog wheel; positive = clockwise. kTicksPerTurn steps
    // make one full turn, so a jog wheel moves the deck as the mouse jog does for the same turn.
    static constexpr int kTicksPerTurn = 128;
    virtual void turn(std::string_view name, int steps) = 0;

    // Whether the button's lamp is lit (PLAY, CUE, the pattern buttons, CUT IN, the monitor buttons,
    // sampler slots that sound). False for controls without a lamp.
    virtual bool lampLit(std::string_view name) const = 0;
};

}  // namespace vx::midi
