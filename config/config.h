#pragma once
// The configuration dialog `config`, "Velvoxの設定": modeless, every control writes its
// setting at once, no OK or Cancel.
#include <string>

#include "core/program.h"

namespace vx::config {

// Adds the dialog's controls to its form (once).
void buildConfig(form::Form& f);

// The menu "設定": loads the dialog from the settings and shows it; an open dialog is only
// brought forward.
void openConfig(Program& p);

// Puts the dialog's eight sampler-slot buttons back to their empty state (no sampler).
void resetSlotButtons(Program& p);

// Attaches the dialog's handlers and the menu entry that opens it.
void wireConfig(Program& p);

// The name `Label11` shows for the monitor device: the chosen entry, or the default output when
// the stored index names no device (one unplugged since).
std::string monitorDeviceLabel(const Program& p);

}  // namespace vx::config
