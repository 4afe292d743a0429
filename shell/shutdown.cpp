#include "shell/shutdown.h"

#include "recorder/recorder_window.h"
#include "sampler/sampler.h"
#include "shell/settings_file.h"

namespace vx::shell {

namespace {

void stopMonitor(Program& p) {
  if (p.monitor.monitorOn && p.ports.monitor) p.ports.monitor->stop();
}

}  // namespace

void unloadOtherWindows(Program& p) {
  SamplerState& s = p.sampler;
  for (form::Form* f : std::initializer_list<form::Form*>{&p.about, &p.fontInfo, &p.config, &s.selectmode, &s.sampcfg,
                                                          &s.frmEcho, &s.frmChorus, &s.frmFlanger, &s.frmDistortion,
                                                          &s.frmCompressor, &s.frmParamEQ, &s.frmGargle}) {
    f->visible = false;
    f->touch();
  }
  // A take in progress (or stopped and not saved) cannot be made again: its window stays.
  if (recorder::holdsTake(p)) return;
  p.recorderWindow.visible = false;
  p.recorderWindow.touch();
}

void endWithoutSaving(Program& p) {
  unloadOtherWindows(p);
  sampler::releaseSampler(p);
  if (p.monitor.monitorOn && p.ports.monitor) p.ports.monitor->free();
  p.quitRequested = true;
}

void Formend_Click(Program& p) {
  if (!p.ports.dialogs) return;
  const platform::MsgResult answer = p.ports.dialogs->messageBox(
      {"現在の状態を保存しますか？", "", platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question});
  if (answer == platform::MsgResult::Yes) {
    // Written first: a write that fails keeps the program, and the monitor, running.
    if (savest(p)) stopMonitor(p);
  } else if (answer == platform::MsgResult::No) {
    stopMonitor(p);
    endWithoutSaving(p);
  }
}

void wireShutdown(Program& p) {
  p.main.picture("Formend").events.click = [&p] { Formend_Click(p); };
  p.main.queryClose = [&p] { Formend_Click(p); };
  p.main.menu("end").events.click = [&p] { p.quitRequested = true; };
}

}  // namespace vx::shell
