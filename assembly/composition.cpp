#include "assembly/composition.h"

#include "play/tick.h"
#include "shell/wiring.h"
#include "ui/skin_files.h"

namespace vx::assembly {

platform::Ports soundPorts(audio::SoundSystem& sound) {
  platform::Ports ports;
  ports.player[0] = &sound.player(0);
  ports.player[1] = &sound.player(1);
  ports.monitor = &sound.monitor();
  ports.waveOut = &sound.waveOut();
  ports.sound = &sound.soundDevice();
  ports.recorder = sound.recordingDevice();
  ports.dj = &sound.djMixer();
  return ports;
}

void placeProgram(Program& p, const HomePaths& paths) {
  p.homeDir = paths.home;
  p.settingsPath = paths.settingsFolder + "/velvoxp.ini";
  p.skin.roots = ui::skinRoots(paths.home, paths.executableFolder, paths.executableFolder + "/../share/velvox");
}

void wireProgram(Program& p) {
  shell::wireMainForm(p);
  form::Timer& mainTimer = p.main.timer("Timer1");
  if (!mainTimer.tick) mainTimer.tick = [&p] { play::Timer1_Timer(p); };
}

}  // namespace vx::assembly
