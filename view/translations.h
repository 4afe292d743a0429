#pragma once
#include <QCoreApplication>

namespace vx::view {

// Loads Qt's own Japanese texts (file and colour dialogs, standard buttons) so that the
// platform's dialogs speak the program's language whatever the desktop's locale. False, and
// the dialogs stay as Qt draws them, when the translations are not installed.
bool installJapaneseTranslations(QCoreApplication& app);

}  // namespace vx::view
