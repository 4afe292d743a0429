#include "view/translations.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace vx::view {

bool installJapaneseTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace vx::view
