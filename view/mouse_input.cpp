#include "view/mouse_input.h"

#include <QUrl>

namespace vx::view {

form::MouseButton buttonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return form::MouseButton::Left;
    case Qt::RightButton: return form::MouseButton::Right;
    case Qt::MiddleButton: return form::MouseButton::Middle;
    default: return form::MouseButton::None;
  }
}

form::MouseButton heldButton(Qt::MouseButtons buttons) {
  if (buttons & Qt::LeftButton) return form::MouseButton::Left;
  if (buttons & Qt::RightButton) return form::MouseButton::Right;
  if (buttons & Qt::MiddleButton) return form::MouseButton::Middle;
  return form::MouseButton::None;
}

std::vector<std::string> droppedPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    QString path = url.toLocalFile();
    // A folder dragged from a file manager may arrive with a trailing separator.
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    paths.push_back(path.toStdString());
  }
  return paths;
}

}  // namespace vx::view
