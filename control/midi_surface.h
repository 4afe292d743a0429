#pragma once
// The program's controls as MIDI operates them: every operation is a mouse press, drag or release
// raised on the control through the same handlers as the window's mouse and the driver's `down`,
// so a controller does exactly what the mouse does. Window thread only.
#include <array>
#include <string_view>

#include "control/learnable_controls.h"
#include "core/program.h"
#include "midi/control_surface.h"
#include "script/script.h"

namespace vx::control {

class MidiSurface : public midi::ControlSurface {
 public:
  // A jog wheel turned by MIDI is held like a mouse drag while it turns; after this many main
  // ticks without a turn it is let go (the deck then plays on from its new place).
  static constexpr int kJogReleaseTicks = 3;

  explicit MidiSurface(Program& p) : p_(p) {}

  midi::ControlKind kind(std::string_view name) const override;
  void press(std::string_view name) override;
  void release(std::string_view name) override;
  void setPosition(std::string_view name, double position) override;
  double position(std::string_view name) const override;
  void turn(std::string_view name, int steps) override;
  bool lampLit(std::string_view name) const override;

  // The main tick: lets go of jog wheels that stopped turning.
  void tick();
  // True while an operation of MIDI runs (learning leaves those alone).
  bool operating() const { return operating_; }

 private:
  struct Jog {
    bool held = false;
    double angle = 0;  // radians clockwise from twelve o'clock, since the press
    int idleTicks = 0;
  };

  form::Control* find(std::string_view name) const;
  bool mouse(const std::string& target, script::CommandKind kind, double x, double y);
  void pressJog(int deck);
  void moveJog(int deck, double angle);
  void releaseJog(int deck);

  Program& p_;
  std::array<Jog, 2> jogs_{};
  bool operating_ = false;
};

}  // namespace vx::control
