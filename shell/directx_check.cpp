#include "shell/directx_check.h"

#include "config/config.h"

namespace vx::shell {

namespace {

void startWithoutSampler(Program& p) {
  p.startup.directSoundReady = false;
  p.main.menu("sa").setEnabled(false);
  p.settings.samplerShown = false;
  config::resetSlotButtons(p);
  p.settings.samplerEnabled = false;
  if (p.ports.dialogs)
    p.ports.dialogs->messageBox({"DirectXが古いかインストールされていません。ＤｉｒｅｃｔＸ８．０以上が必要です。省略モードで起動します。",
                                 "初期化エラー", platform::MsgButtons::OK, platform::MsgIcon::Information});
}

}  // namespace

void directXCheck(Program& p) {
  if (!p.settings.samplerEnabled || p.startup.directSoundReady) return;
  if (p.ports.sound && p.ports.sound->create()) {
    p.startup.directSoundReady = true;
    return;
  }
  startWithoutSampler(p);
}

}  // namespace vx::shell
