#pragma once
// Pictures read once per file. A file that cannot be read gives a null pixmap, and the caller
// keeps what it showed before.
#include <QPixmap>
#include <string>
#include <unordered_map>

namespace vx::view {

class PixmapCache {
 public:
  const QPixmap& get(const std::string& path);
  void clear() { pixmaps_.clear(); }

 private:
  std::unordered_map<std::string, QPixmap> pixmaps_;
};

}  // namespace vx::view
