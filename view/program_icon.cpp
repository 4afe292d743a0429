#include "view/program_icon.h"

#include <QIcon>

namespace vx::view {

QPixmap findProgramIcon(const std::string& executableFolder) {
  const QString base = QString::fromStdString(executableFolder);
  for (const QString& path : {base + "/velvox.png", base + "/../share/icons/hicolor/256x256/apps/velvox.png"}) {
    QPixmap icon(path);
    if (!icon.isNull()) return icon;
  }
  return QIcon::fromTheme("velvox").pixmap(256, 256);
}

}  // namespace vx::view
