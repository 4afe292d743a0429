#pragma once
// The whole pixels a rectangle covers: where the painter keeps only such pixels (its clip lies
// within them), clipping again to the rectangle changes nothing and can be left out.
#include <QRect>
#include <QRectF>
#include <cmath>

namespace vx::view {

// The whole pixels `r` covers completely.
inline QRect pixelsInside(const QRectF& r) {
  const int left = static_cast<int>(std::ceil(r.left())), top = static_cast<int>(std::ceil(r.top()));
  const int right = static_cast<int>(std::floor(r.right())), bottom = static_cast<int>(std::floor(r.bottom()));
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace vx::view
