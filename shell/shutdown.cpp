#include "shell/shutdown.h"

#include "sampler/sampler.h"
#include "shell/settings_file.h"
#include "recorder/other_windows.h"

namespace vx::shell {

namespace {

void stopMonitor(Program& p) {
  if (p.monitor.monitorOn && p.ports.monitor) p.ports.monitor->stop();
}

}  // namespace

void endWithoutSaving(Program& p) {
  recorder::unloadOtherWindows(p);
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
