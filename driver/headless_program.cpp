#include "driver/headless_program.h"

#include "assembly/composition.h"
#include "driver/headless_ports.h"
#include "driver/runner.h"
#include "shell/startup.h"

namespace vx::driver {

using namespace vx::assembly;  // NOLINT: the headless front end is built of these layers
using namespace vx::control;   // NOLINT
using namespace vx::script;    // NOLINT

HeadlessProgram::HeadlessProgram(const HomePaths& paths, std::ostream& out, bool midiPorts)
    : out_(out),
      sound_(createHeadlessSound()),
      dialogs_(out),
      recorder_(sound_->recordingDevice()),
      dj_(&sound_->djMixer()),
      shell_(paths.settingsFolder + "/velvox.lock"),
      p_(ports()),
      midiPorts_(midiPorts) {
  placeProgram(p_, paths);
}

platform::Ports HeadlessProgram::ports() {
  platform::Ports ports = soundPorts(*sound_);
  ports.recorder = &recorder_;
  ports.dj = &dj_;
  ports.dialogs = &dialogs_;
  ports.shell = &shell_;
  ports.tempo = &tempo_;
  return ports;
}

// False when the program ended during start-up (another instance runs).
bool HeadlessProgram::start() {
  wireProgram(p_);
  bool started = shell::startProgram(p_);
  sound_->deliverEvents();
  if (!started) return false;
  // Messages wait in the queue until the driver drains them after a command or a tick.
  midi_ = std::make_unique<MidiHost>(p_, [] {}, midiPorts_);
  midi_->start();
  extended_ = std::make_unique<ExtendedSettings>(p_);
  extended_->addTab(midi_->settingsTab());
  extended_->wire();
  shell::splashDismiss(p_);
  shell::mainFormPaint(p_);
  sound_->deliverEvents();
  return !p_.quitRequested;
}

int HeadlessProgram::run(std::istream& script, const std::string& scriptName, std::ostream& err) {
  if (std::string message = sound_->deviceMessage(); !message.empty()) err << "velvox: " << message << '\n';
  bool started = start();
  Session session{p_, *sound_, dialogs_, recorder_, out_};
  session.midi = midi_.get();
  Runner runner(session, kHeadlessSampleRate);
  if (!started) runner.markEnded();
  return runner.run(script, scriptName, err);
}

}  // namespace vx::driver
