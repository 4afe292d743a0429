// The splash picture, the recorder window's background, the program's icon and font.txt.
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "tools/skinpaint_kit.h"
#include "tools/skinpaint_writer.h"

namespace vx::skinpaint {

namespace {

// A record seen from above, with the skin's colour on its label.
void record(QPainter& g, const QPointF& c, double r, const Palette& p) {
  QRadialGradient vinyl(c, r);
  vinyl.setColorAt(0, QColor(0x2a, 0x2a, 0x2e));
  vinyl.setColorAt(1, QColor(0x08, 0x08, 0x0a));
  g.setPen(QPen(QColor(0, 0, 0), 1));
  g.setBrush(vinyl);
  g.drawEllipse(c, r, r);
  drawGrooves(g, c, r * 0.38, r - 2, std::max(1.5, r / 40), 10);
  drawSheen(g, c, r, 35, 40);
  QRadialGradient label(c - QPointF(r * 0.08, r * 0.1), r * 0.4);
  label.setColorAt(0, mix(p.accent, Qt::white, 0.3));
  label.setColorAt(1, mix(p.accent, Qt::black, 0.3));
  g.setBrush(label);
  g.drawEllipse(c, r * 0.34, r * 0.34);
  g.setBrush(QColor(0x10, 0x10, 0x10));
  g.drawEllipse(c, r * 0.04 + 0.5, r * 0.04 + 0.5);
}

QImage splash(const Palette& p, QSize size) {
  QImage image = canvas(size.width(), size.height(), p.bodyBottom);
  QPainter g(&image);
  prepare(g);
  fillBody(g, QRectF(0, 0, size.width(), size.height()), p);
  record(g, QPointF(size.width() * 0.78, size.height() * 0.5), size.height() * 0.42, p);
  g.setPen(QPen(p.accent, 2));
  g.drawLine(QPointF(24, 150), QPointF(size.width() * 0.55, 150));
  drawCaption(g, QRectF(22, 62, 240, 60), "Velvox", p.silk, 50, Qt::AlignLeft | Qt::AlignVCenter, true, false);
  drawCaption(g, QRectF(26, 118, 240, 24), "TWO DECK DJ MIXER", p.accent, 11, Qt::AlignLeft | Qt::AlignVCenter);
  QFont jp(QStringLiteral("Noto Sans CJK JP"));
  jp.setPixelSize(12);
  g.setFont(jp);
  g.setPen(p.silkDim);
  g.drawText(QRectF(26, 156, 240, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ツーデッキ DJ ミキサー"));
  g.end();
  return image;
}

// The recorder window: a title strip with room for the close button, the time display and
// three wells for the start, stop and save buttons (each the size of a deck's STOP button).
QImage recorderBase(const Palette& p) {
  QImage image = canvas(300, 120, p.bodyBottom);
  QPainter g(&image);
  prepare(g);
  fillBody(g, QRectF(0, 0, 300, 120), p);
  g.fillRect(QRectF(0, 0, 300, 20), p.bodyBottom);
  g.setPen(QPen(p.accent, 1));
  g.drawLine(QPointF(0, 19.5), QPointF(300, 19.5));
  drawCaption(g, QRectF(8, 0, 200, 20), "● RECORDER", p.silk, 9, Qt::AlignLeft | Qt::AlignVCenter);
  drawPlate(g, QRectF(4, 23, 292, 93), p, 6);
  drawDisplay(g, QRectF(16, 26, 268, 38), p);
  for (double x : {22.0, 125.0, 228.0}) {
    g.setPen(QPen(QColor(0, 0, 0, 180), 1));
    g.setBrush(mix(p.plate, Qt::black, 0.25));
    g.drawRoundedRect(QRectF(x, 72, 50, 28), 4, 4);
  }
  const char* captions[] = {"START", "STOP", "SAVE"};
  double xs[] = {22.0, 125.0, 228.0};
  for (int i = 0; i < 3; ++i) drawCaption(g, QRectF(xs[i], 101, 50, 11), captions[i], p.silkDim, 7);
  g.end();
  return image;
}

// Text colour in the classic 0x00BBGGRR form, written as a decimal number.
QString colourValue(const QColor& c) {
  return QString::number(c.red() | c.green() << 8 | c.blue() << 16);
}

QStringList fontLines(const Palette& p) {
  const QString font = QStringLiteral("Noto Sans CJK JP");
  return {"16", "16", "8", "9", "9", font, font, font, font, font,
          colourValue(p.lcdText), colourValue(p.lcdText), colourValue(p.listText), colourValue(p.listText),
          colourValue(p.listText), colourValue(p.listBack)};
}

}  // namespace

QImage programIcon(int size, const Palette& p) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter g(&image);
  prepare(g);
  double s = size;
  record(g, QPointF(s / 2, s / 2), s * 0.47, p);
  // A bold V across the label.
  QPainterPath v;
  v.moveTo(s * 0.36, s * 0.37);
  v.lineTo(s * 0.45, s * 0.37);
  v.lineTo(s * 0.5, s * 0.55);
  v.lineTo(s * 0.55, s * 0.37);
  v.lineTo(s * 0.64, s * 0.37);
  v.lineTo(s * 0.54, s * 0.65);
  v.lineTo(s * 0.46, s * 0.65);
  v.closeSubpath();
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(0x14, 0x12, 0x10));
  g.drawPath(v);
  return image;
}

void paintExtras(SkinWriter& w) {
  const Palette& p = w.palette();
  w.save("splash.bmp", splash(p, QSize(400, 240)));
  w.save("recorderbase.bmp", recorderBase(p));
  w.saveText("font.txt", fontLines(p));
}

}  // namespace vx::skinpaint
