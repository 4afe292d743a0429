#include "driver/headless_program.h"

#include "decks/tick.h"
#include "driver/headless_ports.h"
#include "driver/runner.h"
#include "shell/startup.h"
#include "shell/wiring.h"
#include "ui/skin_files.h"

namespace vx::driver {

HeadlessProgram::HeadlessProgram(const HomePaths& paths, std::ostream& out)
    : out_(out),
      sound_(createHeadlessSound()),
      dialogs_(out),
      shell_(paths.settingsFolder + "/velvox.lock"),
      p_(ports()) {
  p_.homeDir = paths.home;
  p_.settingsPath = paths.settingsFolder + "/velvoxp.ini";
  p_.skin.roots = ui::skinRoots(paths.home, paths.executableFolder, paths.executableFolder + "/../share/velvox");
}

platform::Ports HeadlessProgram::ports() {
  platform::Ports ports;
  ports.player[0] = &sound_->player(0);
  ports.player[1] = &sound_->player(1);
  ports.monitor = &sound_->monitor();
  ports.waveOut = &sound_->waveOut();
  ports.sound = &sound_->soundDevice();
  ports.recorder = &recorder_;
  ports.dialogs = &dialogs_;
  ports.shell = &shell_;
  return ports;
}

// False when the program ended during start-up (another instance runs).
bool HeadlessProgram::start() {
  shell::wireMainForm(p_);
  form::Timer& mainTimer = p_.main.timer("Timer1");
  if (!mainTimer.tick) mainTimer.tick = [this] { decks::Timer1_Timer(p_); };
  bool started = shell::startProgram(p_);
  sound_->deliverEvents();
  if (!started) return false;
  shell::splashDismiss(p_);
  shell::mainFormPaint(p_);
  sound_->deliverEvents();
  return !p_.quitRequested;
}

int HeadlessProgram::run(std::istream& script, const std::string& scriptName, std::ostream& err) {
  if (std::string message = sound_->deviceMessage(); !message.empty()) err << "velvox: " << message << '\n';
  bool started = start();
  Runner runner(Session{p_, *sound_, dialogs_, recorder_, out_}, kHeadlessSampleRate);
  if (!started) runner.markEnded();
  return runner.run(script, scriptName, err);
}

}  // namespace vx::driver
