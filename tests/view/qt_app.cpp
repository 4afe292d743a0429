#include "tests/view/qt_app.h"

namespace vx::test {

QApplication& testApp() {
  static int argc = 1;
  static char name[] = "view_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace vx::test
