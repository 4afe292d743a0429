// The caps that slide on the tracks and the jog wheel's marker.
#include <QRadialGradient>

#include "tools/skinpaint_kit.h"
#include "tools/skinpaint_writer.h"

namespace vx::skinpaint {

namespace {

void cap(SkinWriter& w, const QString& name, QSize size, bool vertical) {
  QImage image = canvas(size.width(), size.height(), w.palette().plate);
  QPainter g(&image);
  prepare(g);
  drawCap(g, QRectF(0, 0, size.width(), size.height()), w.palette(), vertical);
  g.end();
  w.save(name, image);
}

// A glowing fingertip marker; the wheel shows through around it.
QImage jogMarker(int size, const Palette& p) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter g(&image);
  prepare(g);
  QPointF c(size / 2.0, size / 2.0);
  QRadialGradient glow(c, size / 2.0);
  glow.setColorAt(0.55, QColor(p.accent.red(), p.accent.green(), p.accent.blue(), 120));
  glow.setColorAt(1, QColor(p.accent.red(), p.accent.green(), p.accent.blue(), 0));
  g.setPen(Qt::NoPen);
  g.setBrush(glow);
  g.drawEllipse(c, size / 2.0, size / 2.0);
  double r = size * 0.3;
  QRadialGradient dome(c - QPointF(r * 0.35, r * 0.4), r * 1.4);
  dome.setColorAt(0, mix(p.capTop, Qt::white, 0.4));
  dome.setColorAt(1, p.capBottom);
  g.setBrush(dome);
  g.setPen(QPen(QColor(0, 0, 0, 220), 1));
  g.drawEllipse(c, r, r);
  g.setPen(Qt::NoPen);
  g.setBrush(p.accent);
  g.drawEllipse(c, r * 0.35, r * 0.35);
  return image;
}

}  // namespace

void paintKnobs(SkinWriter& w) {
  cap(w, "ctrlbtn.bmp", w.sizeOf("pitchbtn", 0), true);
  cap(w, "faderbtn.bmp", w.sizeOf("Faderbtn"), false);
  cap(w, "pan.bmp", w.sizeOf("panbtn", 0), false);
  w.save("jog.ico", jogMarker(w.sizeOf("jogbtn", 0).width(), w.palette()));
}

}  // namespace vx::skinpaint
