#pragma once
// Runs scenario commands against a started program.
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

#include "assembly/midi_host.h"
#include "audio/sound_system.h"
#include "control/items.h"
#include "control/recording_log.h"
#include "core/program.h"
#include "driver/scripted_dialogs.h"
#include "driver/virtual_clock.h"
#include "script/script.h"

namespace vx::driver {

using namespace vx::control;   // NOLINT
using namespace vx::script;    // NOLINT

// The program did not do what the script expects: the run stops with status 1.
class ExpectationFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the commands act on; the composition owns all of it.
struct Session {
  Program& p;
  audio::SoundSystem& sound;
  ScriptedDialogs& dialogs;
  const RecordingLog& recorder;
  std::ostream& out;
  EnvLookup env = processEnv;
  assembly::MidiHost* midi = nullptr;  // controllers; nullptr: `midi` is a mistake in the script
};

class Runner {
 public:
  static constexpr int kTickMs = script::kTickMs;

  Runner(Session s, int sampleRate);

  // Runs the lines of `in` in order. Returns 0; 1 after a failed expectation (also a queued
  // answer no dialog took); 2 after a mistake in the script; 3 when the program itself failed
  // (an exception escaped an operation). The message goes to `err` with the script's name and
  // the line.
  int run(std::istream& in, const std::string& scriptName, std::ostream& err);

  // One line; ScriptError or ExpectationFailed. Notes for the user (a press on a hidden
  // control) go to `notes`.
  void runLine(const std::string& text, int line, std::ostream& notes);

  // The program has ended (refused as a second instance, or ended by the user): from now on
  // only print and expect run.
  void markEnded();
  bool ended() const { return ended_; }

 private:
  void execute(const Command& c, int line, std::ostream& notes);
  void tick(long count);
  void tickOnce();
  void print(const std::string& target);
  void expect(const Command& c);
  void afterCommand();
  void midi(const Command& c);

  Session s_;
  ItemReader items_;
  VirtualClock clock_;
  TimerSchedule timers_;
  bool ended_ = false;
};

}  // namespace vx::driver
