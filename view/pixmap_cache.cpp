#include "view/pixmap_cache.h"

#include <QString>

namespace vx::view {

const QPixmap& PixmapCache::get(const std::string& path) {
  auto it = pixmaps_.find(path);
  if (it != pixmaps_.end()) return it->second;
  QPixmap pixmap;
  if (!path.empty()) pixmap.load(QString::fromStdString(path));
  return pixmaps_.emplace(path, std::move(pixmap)).first->second;
}

}  // namespace vx::view
