#include "view/overview_painter.h"

#include <algorithm>

namespace vx::view {

namespace {

const QColor kWave(90, 200, 255);
const QColor kPlayed(0, 0, 0, 120);
const QColor kLine(255, 255, 255);
const QColor kCue(255, 170, 0), kStart(80, 255, 80), kEnd(255, 60, 60);
const QColor kBeat(255, 255, 255, 70);

void drawColumns(QPainter& g, const form::Overview& o, const QSizeF& size) {
  const auto& columns = o.columns();
  const qreal mid = size.height() / 2, half = size.height() / 2 - 1;
  const int width = static_cast<int>(size.width());
  g.setPen(kWave);
  for (int x = 0; x < width; ++x) {
    // Each pixel shows the widest of the columns it covers.
    const size_t from = columns.size() * x / width, to = std::max(from + 1, columns.size() * (x + 1) / width);
    float low = 0, high = 0;
    for (size_t c = from; c < to && c < columns.size(); ++c) {
      low = std::min(low, columns[c].low);
      high = std::max(high, columns[c].high);
    }
    g.drawLine(QPointF(x + 0.5, mid - high * half), QPointF(x + 0.5, mid - low * half));
  }
}

// Thin see-through marks over the waveform, where there is room for them.
void drawBeats(QPainter& g, const form::Overview& o, const QSizeF& size) {
  g.setPen(kBeat);
  for (const double fraction : o.beatMarks(size.width())) {
    const qreal x = fraction * (size.width() - 1) + 0.5;
    g.drawLine(QPointF(x, 0), QPointF(x, size.height()));
  }
}

void drawMark(QPainter& g, double fraction, const QColor& colour, const QSizeF& size) {
  if (fraction < 0) return;
  const qreal x = fraction * (size.width() - 1) + 0.5;
  g.setPen(colour);
  g.drawLine(QPointF(x, 0), QPointF(x, size.height()));
}

}  // namespace

const QPixmap& OverviewPainter::pixmapOf(const form::Overview& o, const QSize& size, qreal ratio) {
  Cached& cached = cache_[&o];
  if (cached.content == o.content() && cached.pixmap.deviceIndependentSize().toSize() == size) return cached.pixmap;
  cached.content = o.content();
  cached.pixmap = QPixmap(size * ratio);
  cached.pixmap.setDevicePixelRatio(ratio);
  cached.pixmap.fill(Qt::transparent);
  QPainter g(&cached.pixmap);
  drawColumns(g, o, QSizeF(size));
  drawBeats(g, o, QSizeF(size));
  const auto& marks = o.marks();
  drawMark(g, marks.start, kStart, QSizeF(size));
  drawMark(g, marks.end, kEnd, QSizeF(size));
  drawMark(g, marks.cue, kCue, QSizeF(size));
  return cached.pixmap;
}

void OverviewPainter::paint(QPainter& g, const form::Overview& o, const QRectF& rect) {
  if (o.columns().empty() || rect.isEmpty()) return;
  g.drawPixmap(rect.topLeft(), pixmapOf(o, rect.size().toSize(), g.device()->devicePixelRatioF()));
  const qreal x = rect.left() + o.position() * (rect.width() - 1);
  g.fillRect(QRectF(rect.left(), rect.top(), x - rect.left(), rect.height()), kPlayed);
  g.setPen(kLine);
  g.drawLine(QPointF(x + 0.5, rect.top()), QPointF(x + 0.5, rect.bottom()));
}

QRectF OverviewPainter::strip(const form::Overview& o, const QRectF& rect, double before) {
  const qreal a = rect.left() + before * (rect.width() - 1), b = rect.left() + o.position() * (rect.width() - 1);
  return QRectF(std::min(a, b) - 1, rect.top(), std::abs(b - a) + 3, rect.height());
}

}  // namespace vx::view
