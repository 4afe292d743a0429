#pragma once
// The whole program without windows: the engine on the virtual device, the scripted dialogs,
// the recording log, the real shell services with the single-instance lock in the settings
// folder (so runs with different home folders never refuse each other), and the program.
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "assembly/home_folder.h"
#include "assembly/extended_settings.h"
#include "assembly/midi_host.h"
#include "audio/analysis/tempo_analyser.h"
#include "audio/sound_system.h"
#include "control/dj_log.h"
#include "control/recording_log.h"
#include "core/program.h"
#include "driver/scripted_dialogs.h"
#include "platform/posix_shell.h"

namespace vx::driver {

using namespace vx::assembly;  // NOLINT: the headless front end is built of these layers
using namespace vx::control;   // NOLINT
using namespace vx::script;    // NOLINT

class HeadlessProgram {
 public:
  // midiPorts: open the system's MIDI ports (false: `--no-midi`).
  HeadlessProgram(const HomePaths& paths, std::ostream& out, bool midiPorts = true);
  HeadlessProgram(const HeadlessProgram&) = delete;
  HeadlessProgram& operator=(const HeadlessProgram&) = delete;

  // Starts the program, hands over from the splash and paints the main window at once, then
  // runs the script. Returns the exit status (see Runner::run).
  int run(std::istream& script, const std::string& scriptName, std::ostream& err);

 private:
  platform::Ports ports();
  bool start();

  std::ostream& out_;
  std::unique_ptr<audio::SoundSystem> sound_;
  ScriptedDialogs dialogs_;
  RecordingLog recorder_;
  DjLog dj_;
  platform::PosixShell shell_;
  audio::SettledTempoAnalyser tempo_;
  Program p_;
  bool midiPorts_;
  std::unique_ptr<MidiHost> midi_;
  std::unique_ptr<ExtendedSettings> extended_;
};

}  // namespace vx::driver
