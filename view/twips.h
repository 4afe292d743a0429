#pragma once
// The models measure in twips; the window in Qt's device-independent pixels, 15 twips each.
// Qt scales those pixels to the screen (HiDPI), so nothing else converts.
#include <QPointF>
#include <QRectF>
#include <cmath>

namespace vx::view {

inline constexpr double kTwipsPerPixel = 15;

inline double toPixels(double twips) { return twips / kTwipsPerPixel; }
inline double toTwips(double pixels) { return pixels * kTwipsPerPixel; }
inline int toWholePixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline QRectF toPixels(double left, double top, double width, double height) {
  return QRectF(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

}  // namespace vx::view
