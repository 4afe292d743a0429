#pragma once
// The extended settings ("拡張設定…") as a Qt dialog: one tab a feature, its check boxes, OK and
// Cancel.
#include <vector>

#include "platform/dialogs.h"

class QWidget;

namespace vx::view {

// True on OK, with the checks as the user left them.
bool runExtendedSettings(QWidget* owner, std::vector<platform::SettingsTab>& tabs);

}  // namespace vx::view
