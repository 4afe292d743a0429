#pragma once
// The controls MIDI can learn and operate, in one table: their names (the driver's references),
// their kinds, and for faders and knobs the track a drag lands on and the knob's travel.
#include <string>
#include <string_view>
#include <vector>

#include "midi/control_surface.h"

namespace vx::control {

// How a fader's or knob's position is read and dragged.
enum class Travel {
  None,      // buttons and jog wheels
  KnobTop,   // a knob dragged along a vertical track: its top moves
  KnobLeft,  // a knob dragged along a horizontal track: its left moves
  Rotary,    // the trim: the pointer's angle over the knob's upper half, read back from its line
  Slider,    // a slider control: its value over min..max
  Dial,      // a DJ panel knob: its setting over min..centre..max, the centre at position 0.5
};

struct LearnableControl {
  std::string name;   // what mappings name ("Volbtn(0)")
  midi::ControlKind kind = midi::ControlKind::None;
  std::string track;  // where a drag is pressed ("Volbase(0)"); "" = the control itself
  Travel travel = Travel::None;
  // The knob's top or left at position 0, 0.5 and 1 (the centre is where a centre detent
  // lands, so it need not be halfway). A dial's are its own -1, 0, 1: its setting's range is the
  // knob's, given by the panel that wires it.
  double low = 0, centre = 0, high = 0;
};

// Every learnable control, deck A's before deck B's within each group. Controls of the DJ panel
// are listed too; they act once the panel's form has them.
const std::vector<LearnableControl>& learnableControls();

// The entry for a name, or for the track of a fader or wheel (a click on `Volbase(0)` means
// `Volbtn(0)`); nullptr when the control is not learnable.
const LearnableControl* findLearnable(std::string_view name);

}  // namespace vx::control
