#include "shell/startup.h"

#include "basic/version.h"
#include "decks/keylock.h"
#include "decks/transport.h"
#include "djpanel/dj_panel.h"
#include "mixer/auto_gain.h"
#include "mixer/master_volume.h"
#include "mixer/volume_law.h"
#include "recorder/recorder_window.h"
#include "shell/directx_check.h"
#include "shell/settings_file.h"
#include "ui/fonts.h"
#include "ui/skin.h"
#include "ui/window_modes.h"

namespace vx::shell {

namespace {

constexpr double kMiniButtonTop = 1000;

// The trim pointer starts at the centre of its knob and points as the layout draws it
// (straight up, half the full cut) until a song is loaded.
void centreTrimLine(Program& p, int deck) {
  const form::Picture& knob = p.main.picture("Trimbase", deck);
  form::Line& line = p.main.get<form::Line>("TrimLine", deck);
  line.set(knob.left() + knob.width() / 2, knob.top() + knob.height() / 2, line.left() + line.width(),
           line.top() + line.height());
}

void mainFormLoad(Program& p) {
  mixer::initMasterKnob(p);
  p.main.label("topbar").setCaption("Ver." + basic::versionText());
  p.mixer.faderPattern = 0;
  p.mixer.switchPhase = 0;
  p.mixer.switchBusy = false;
  centreTrimLine(p, 0);
  centreTrimLine(p, 1);
  mixer::volcontrol(p);
}

bool claimSingleInstance(Program& p) {
  if (!p.ports.shell || p.ports.shell->acquireSingleInstance()) return true;
  if (p.ports.dialogs)
    p.ports.dialogs->messageBox({"このアプリケーションはすでに開かれています。", "APP Load Error", platform::MsgButtons::OK,
                                 platform::MsgIcon::Warning});
  p.splash.visible = false;
  p.splash.timer("Timer1").setEnabled(false);
  p.main.visible = false;
  p.quitRequested = true;
  return false;
}

// Only an unreachable library counts as failure; the monitor is then switched off.
void initMonitor(Program& p) {
  if (p.ports.monitor && p.ports.monitor->init()) {
    p.ports.monitor->setFftWindow(0);
    return;
  }
  if (p.ports.dialogs)
    p.ports.dialogs->messageBox({"VBMP3.DLLの初期化に失敗しました。モニター機能は使えません。", "ＶＢＭＰ３初期化エラー",
                                 platform::MsgButtons::OK, platform::MsgIcon::Information});
  p.monitor.monitorOn = false;
}

// A failed open leaves the monitor without a file and is not reported. The monitor goes to the
// chosen device in every case: routed only after a successful open, it would play a song chosen
// later (deck A empty at start-up, or its file gone) on the library's first device, which is
// usually the main output, and the DJ's pre-listening would reach the audience.
void openDeckAInMonitor(Program& p) {
  const std::string path = p.player(0).fileName();
  platform::MonitorInfo info;
  if (!path.empty() && p.ports.monitor->open(path, info) != 0) p.monitor.monitorSampleRate = info.sampleRate;
  p.ports.monitor->setWaveOutDeviceId(p.settings.monitorDevice);
}

void forminit(Program& p) {
  ui::layoutWindow(p);
  for (const char* name : {"miniplay", "ministop", "minipre", "mininext"}) p.main.picture(name).setTop(kMiniButtonTop);
  for (const char* name : {"Picture4", "Picture5", "Picture8"}) p.main.picture(name).setAutoSize(true);
  if (p.main.menu("startup").checked()) p.startup.playAtStartupArmed = true;
  p.deck[0].stutterArmed = false;
  p.deck[1].stutterArmed = false;
  if (p.monitor.monitorOn && p.ports.monitor) openDeckAInMonitor(p);
}

void showMainForm(Program& p) {
  p.main.visible = true;
  p.main.touch();
  p.splash.visible = false;
  p.splash.timer("Timer1").setEnabled(false);
}

}  // namespace

bool startProgram(Program& p) {
  p.splash.visible = true;
  mainFormLoad(p);
  if (!claimSingleInstance(p)) return false;
  p.splash.label("lblVersion").setCaption("Version " + basic::versionText());
  readSettings(p);
  readPlusSettings(p);
  djpanel::readPanelSettings(p);
  recorder::readRecorderSettings(p);
  mixer::readAutoGainSetting(p);
  decks::readKeyLockSettings(p);
  // The settings reader asks for the check too; asking again after it is harmless.
  directXCheck(p);
  ui::loadSkin(p);
  ui::loadFonts(p);
  if (p.monitor.monitorOn) initMonitor(p);
  forminit(p);
  p.startup.initDone = true;
  return true;
}

void splashTimerTick(Program& p) {
  if (p.startup.initDone && p.splash.visible) showMainForm(p);
}

void splashDismiss(Program& p) {
  // Before start-up is done (or after it was refused) there is no main window to show.
  if (p.startup.initDone && p.splash.visible) showMainForm(p);
}

void mainFormPaint(Program& p) {
  if (!p.startup.playAtStartupArmed) return;
  p.startup.playAtStartupArmed = false;
  // A press without its release would leave the PLAY button drawn 10 twips low for good.
  decks::Pause_MouseDown(p, 0);
  decks::Pause_MouseUp(p, 0);
}

}  // namespace vx::shell
