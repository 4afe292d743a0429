#pragma once
// MIDI learning as the window and the driver both run it: the menu entry `midilearn` turns it on
// and off; while on, a left press on a learnable control selects it (the next message binds it)
// or, when it has bindings, offers to clear them; a right press on a bound button offers "SHIFT".
// Esc or the menu entry ends it. Window thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/program.h"
#include "form/control.h"
#include "control/midi_surface.h"
#include "midi/midi_system.h"

namespace vx::control {

class MidiLearning {
 public:
  MidiLearning(Program& p, midi::MidiSystem& midi, const MidiSurface& surface) : p_(p), midi_(midi), surface_(surface) {}
  // Gives the controls, the keys and the menu entry their own handlers back.
  ~MidiLearning();
  MidiLearning(const MidiLearning&) = delete;
  MidiLearning& operator=(const MidiLearning&) = delete;

  // Hooks the menu entry's click, the main window's keys and the mouse events of every learnable
  // control and track on the main window, so the window and the driver learn alike. Call after
  // the program's wiring.
  void wire();
  void toggle();
  void end();
  bool on() const { return midi_.learning(); }
  // The control a press selected, "" for none.
  const std::string& selected() const { return midi_.selected(); }

  // Whether mouse events on `ref` belong to learning (it is on, the control is learnable and MIDI
  // is not the one operating it): only presses act; releases, moves and clicks do nothing.
  bool takesMouse(const std::string& ref) const;
  // A mouse press on the control `ref` (the driver's reference, a fader's track included).
  // True when learning took it, so it must not operate the control.
  bool press(const std::string& ref, form::MouseButton button);
  // A key press: Esc ends learning. True when taken.
  bool key(int keyCode);

  // How the window frames a control while learning: 0 not at all, 1 thinly (learnable), 2 lit
  // (selected: the next message binds it).
  int frameOf(const form::Control& c) const;
  // Grows whenever the frames change (learning on or off, a selection, a binding cleared).
  uint64_t framesSerial() const { return serial_; }

  // Shows what MIDI has to tell (damaged mapping lines, a mapping that could not be saved) in
  // one message box.
  void showMessages();

 private:
  void offerClear(const std::string& control);
  void offerShift(const std::string& control);
  void wireControl(form::Control& c);

  Program& p_;
  midi::MidiSystem& midi_;
  const MidiSurface& surface_;
  uint64_t serial_ = 0;
  struct Wrapped {
    form::Control* control;
    form::ControlEvents events;  // the control's own handlers
  };
  std::vector<Wrapped> wrapped_;
  std::function<void(int, int)> keyDown_;
  bool wired_ = false;
};

}  // namespace vx::control
