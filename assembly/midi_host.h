#pragma once
// Controllers over MIDI in a running program: the queue from the ports' threads, the ports
// themselves (unless turned off), the MIDI system over the program's controls, and learning.
// Both front ends own one. The window posts drainSoon() to its thread from the wake-up; the
// headless driver drains after every command and tick.
//
// Threads: the wake-up runs on a port's thread and must only post to the window thread;
// everything else on the window thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "assembly/extended_settings.h"
#include "control/midi_learning.h"
#include "control/midi_surface.h"
#include "core/program.h"
#include "midi/midi_system.h"

namespace vx::assembly {

class MidiHost {
 public:
  // Two wake-ups closer than this are drained together: a flood costs one drain per interval.
  static constexpr std::chrono::microseconds kMinDrainInterval{2000};

  // wake: posts a drain to the window thread (called on a port's thread). realPorts: open the
  // system's ports (false: `--no-midi`, or [midi] enabled=0; the driver's `midi` still works).
  MidiHost(Program& p, std::function<void()> wake, bool realPorts);
  ~MidiHost();
  MidiHost(const MidiHost&) = delete;
  MidiHost& operator=(const MidiHost&) = delete;

  // Hooks the menu entry and the main tick (jogs let go, lamps), then opens the ports. Call
  // after the program's own wiring and start.
  void start();
  // The MIDI tab of the extended settings: use controllers at all, and ports not to open.
  ExtendedSettings::Tab settingsTab();

  // The wake-up's work. Returns how long to wait before draining when the previous drain was
  // less than kMinDrainInterval ago (nothing done), else zero after draining.
  std::chrono::microseconds drain();
  // Drains at once whatever the interval (the headless driver, which has no time of its own).
  void drainNow();
  // After any input that may have lit or darkened a lamp.
  void afterInput() { midi_.refreshLamps(); }

  // A message as if from the named port (the driver's `midi PORT B1 B2 [B3]`).
  void deliver(std::string_view port, std::span<const uint8_t> bytes);

  control::MidiLearning& learning() { return learning_; }
  midi::MidiSystem& system() { return midi_; }
  midi::MessageQueue& queue() { return queue_; }
  bool realPorts() const { return ports_ != nullptr; }

 private:
  // Opens the ports as [midi] in velvoxplus.ini has them (closing those open first).
  void openPorts();

  Program& p_;
  midi::MessageQueue queue_;
  control::MidiSurface surface_;
  midi::MidiSystem midi_;
  control::MidiLearning learning_;
  bool openPorts_;
  std::unique_ptr<midi::Ports> ports_;
  std::vector<std::string> seen_;  // every port opened since the start, for the settings tab
  std::chrono::steady_clock::time_point lastDrain_{};
  std::function<void()> mainTick_;  // the main tick's own handler, given back at the end
  bool started_ = false;
};

}  // namespace vx::assembly
