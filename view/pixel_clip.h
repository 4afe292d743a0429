#pragma once
// Clips on whole pixels. With antialiasing on, QPainter clips to a rectangle with fractional
// edges as a path, covering the edge pixels in part, and then rasterises every row of what it
// draws through that path; a rectangle on whole pixels it clips directly. Where only part of the
// window is painted, a fractional clip whose edges lie outside that part changes nothing in it.
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

// What clipping to `clip` leaves of `area`, as a clip: `area` itself when `clip` covers all of its
// pixels, the two intersected otherwise (the edge pixels they share are covered in part).
inline QRectF clipWithin(const QRectF& clip, const QRect& area) {
  if (pixelsInside(clip).contains(area)) return QRectF(area);
  return clip.intersected(QRectF(area));
}

}  // namespace vx::view
