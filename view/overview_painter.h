#pragma once
// Paints a deck's song overview (form::Overview) over its frame picture. The columns and marks
// are drawn into a pixmap once per content change; a paint then copies it, shades the part
// already played and draws the position line, so a moving line costs only its strip.
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <map>

#include "form/controls.h"

namespace vx::view {

class OverviewPainter {
 public:
  // Paints `o` into `rect` (pixels, the control's place).
  void paint(QPainter& g, const form::Overview& o, const QRectF& rect);
  // The pixel strip to repaint when the line moved from `before` to the overview's position
  // now (fractions); empty when the content changed (the whole control is repainted then).
  static QRectF strip(const form::Overview& o, const QRectF& rect, double before);

 private:
  struct Cached {
    long content = -1;
    QPixmap pixmap;
  };
  std::map<const form::Overview*, Cached> cache_;
  const QPixmap& pixmapOf(const form::Overview& o, const QSize& size, qreal ratio);
};

}  // namespace vx::view
