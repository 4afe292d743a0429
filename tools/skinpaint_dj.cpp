// The DJ panel: its background, the knobs one picture per angle, the meters one per number of lit
// segments, the lamps and buttons of the middle and of the deck halves, and the top bar's DJ key.
#include <QRadialGradient>
#include <cmath>
#include <functional>

#include "tools/skinpaint_kit.h"
#include "tools/skinpaint_writer.h"
#include "ui/skin_catalogue.h"

namespace vx::skinpaint {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kKnobSweep = 270;  // degrees from fully left to fully right

using Face = std::function<void(QPainter&, const QRectF&, bool lit)>;

// Released ("1") and lit ("2") pictures of a control of the layout.
void writeLamps(SkinWriter& w, const QString& stem, QSize size, const QColor& background, const Face& face) {
  for (bool lit : {false, true}) {
    QImage image = canvas(size.width(), size.height(), background);
    QPainter g(&image);
    prepare(g);
    face(g, QRectF(0, 0, size.width(), size.height()), lit);
    g.end();
    w.save(stem + (lit ? "2.bmp" : "1.bmp"), image);
  }
}

// A key whose caption lights in `colour`, with a lamp at its left when `lamp` is set.
Face captionKey(const Palette& p, QString text, double size, QColor colour, bool lamp) {
  return [&p, text, size, colour, lamp](QPainter& g, const QRectF& r, bool lit) {
    drawKey(g, r, p, lit ? KeyState::Lit : KeyState::Up, colour);
    QRectF box = r;
    if (lamp) {
      double radius = r.height() * 0.16;
      drawLamp(g, QPointF(r.left() + radius + 3.5, r.center().y()), radius, colour, p, lit);
      box.adjust(radius * 2 + 4, 0, 0, 0);
    }
    drawCaption(g, box, text, lit ? keyInk(p, KeyState::Lit) : p.keyText, size);
  };
}

QImage knob(const Palette& p, QSize size, int step) {
  QImage image = canvas(size.width(), size.height(), p.plate);
  QPainter g(&image);
  prepare(g);
  QPointF c(size.width() / 2.0, size.height() / 2.0);
  double r = std::min(size.width(), size.height()) / 2.0 - 1;
  // The scale's centre mark, then the skirt, the cap and the pointer at the step's angle.
  g.setPen(QPen(p.silkDim, 1));
  g.drawLine(QPointF(c.x(), 0.5), QPointF(c.x(), 2.5));
  g.setPen(QPen(QColor(0, 0, 0, 230), 1));
  g.setBrush(mix(p.capBottom, Qt::black, 0.35));
  g.drawEllipse(c, r - 2, r - 2);
  QRadialGradient cap(c - QPointF(r * 0.3, r * 0.35), r * 1.2);
  cap.setColorAt(0, mix(p.keyTop, Qt::white, 0.12));
  cap.setColorAt(1, mix(p.groove, p.keyBottom, 0.5));
  g.setBrush(cap);
  g.drawEllipse(c, r - 4.5, r - 4.5);
  double degrees = -kKnobSweep / 2 + kKnobSweep * step / ui::kKnobSteps;
  double a = (degrees - 90) * kPi / 180;
  g.setPen(QPen(step == ui::kKnobSteps / 2 ? p.silk : p.accent, 2, Qt::SolidLine, Qt::RoundCap));
  g.drawLine(QPointF(c.x() + 2 * std::cos(a), c.y() + 2 * std::sin(a)),
             QPointF(c.x() + (r - 3) * std::cos(a), c.y() + (r - 3) * std::sin(a)));
  g.end();
  return image;
}

QColor segmentColour(int segment) {
  if (segment >= ui::kMeterSegments - 1) return QColor(0xff, 0x30, 0x28);
  if (segment >= ui::kMeterSegments - 5) return QColor(0xff, 0xc0, 0x20);
  return QColor(0x40, 0xe0, 0x50);
}

// Segment 1 at the bottom; unlit segments show faintly.
QImage meter(const Palette& p, QSize size, int lit) {
  QImage image = canvas(size.width(), size.height(), QColor(0x0c, 0x0c, 0x0e));
  QPainter g(&image);
  double height = double(size.height()) / ui::kMeterSegments;
  for (int s = 1; s <= ui::kMeterSegments; ++s) {
    QRectF seg(1, size.height() - s * height + 1, size.width() - 2, height - 1.5);
    g.fillRect(seg, s <= lit ? segmentColour(s) : mix(segmentColour(s), p.lcdBack, 0.82));
  }
  g.end();
  return image;
}

void panelBackground(SkinWriter& w) {
  const Palette& p = w.palette();
  QSize size = w.sizeOf("djpanel");
  QImage image = canvas(size.width(), size.height(), p.bodyBottom);
  QPainter g(&image);
  prepare(g);
  fillBody(g, QRectF(0, 0, size.width(), size.height()), p);
  double middleLeft = 4200 / kTwips, middleRight = 6480 / kTwips;
  drawPlate(g, QRectF(3, 3, middleLeft - 5, size.height() - 6), p, 6);
  drawPlate(g, QRectF(middleLeft + 2, 3, middleRight - middleLeft - 4, size.height() - 6), p, 6);
  drawPlate(g, QRectF(middleRight + 2, 3, size.width() - middleRight - 5, size.height() - 6), p, 6);
  for (int deck = 0; deck < 2; ++deck) {
    QRectF overview = w.rectOf("overview", deck);
    drawDisplay(g, overview.adjusted(-2, -2, 2, 2), p);
    QRectF last = w.rectOf("beatloop", deck * 5 + 4);
    QRectF caption(last.right() + 8, last.top(), overview.right() - last.right() - 8, last.height());
    drawCaption(g, caption, deck == 0 ? "DECK A" : "DECK B", p.silkDim, 8, Qt::AlignRight | Qt::AlignVCenter);
    drawCaption(g, QRectF(overview.left(), last.bottom() + 4, 200, 10), "BEAT LOOP", p.silkDim, 6.5,
                Qt::AlignLeft | Qt::AlignVCenter);
    QRectF filter = w.rectOf("filter", deck);
    QRectF kill = w.rectOf("killlow", deck);
    drawCaption(g, QRectF(kill.left(), filter.top(), kill.width(), filter.height()), "FLT", p.silk, 7);
  }
  for (int c = 0; c < 3; ++c) {
    QRectF m = w.rectOf("meter", c);
    g.setPen(QPen(QColor(0, 0, 0, 220), 1));
    g.setBrush(Qt::NoBrush);
    g.drawRect(m.adjusted(-1, -1, 1, 1));
    const char* names[] = {"A", "B", "M"};
    drawCaption(g, QRectF(m.left() - 4, m.bottom() + 1, m.width() + 8, 6), names[c], p.silkDim, 5.5);
  }
  QRectF cue = w.rectOf("cuemix");
  drawCaption(g, QRectF(cue.left() - 20, cue.top(), 18, cue.height()), "CUE", p.silk, 6.5, Qt::AlignRight | Qt::AlignVCenter);
  drawCaption(g, QRectF(cue.right() + 2, cue.top(), 20, cue.height()), "MST", p.silk, 6.5, Qt::AlignLeft | Qt::AlignVCenter);
  QRectF knobA = w.rectOf("filter", 0);
  drawGlyph(g, Glyph::Headphones, QRectF(knobA.left() + 4, cue.top() + 6, 16, cue.height() - 12), p.accent);
  g.end();
  w.save("djpanel.bmp", image);
}

void middle(SkinWriter& w) {
  const Palette& p = w.palette();
  QSize knobSize = w.sizeOf("eqlow", 0);
  for (int step = 0; step <= ui::kKnobSteps; ++step)
    w.save(QString::fromStdString(ui::knobPicture(step)), knob(p, knobSize, step));
  QSize meterSize = w.sizeOf("meter", 0);
  for (int lit = 0; lit <= ui::kMeterSegments; ++lit)
    w.save(QString::fromStdString(ui::meterPicture(lit)), meter(p, meterSize, lit));
  QColor red(0xff, 0x30, 0x28);
  writeLamps(w, "clip", w.sizeOf("clip", 0), p.plate, [&p, red](QPainter& g, const QRectF& r, bool lit) {
    drawLamp(g, r.center(), r.width() / 2 - 1, red, p, lit);
  });
  const char* captions[] = {"LOW", "MID", "HI"};
  const char* stems[] = {"killlow", "killmid", "killhigh"};
  for (int band = 0; band < 3; ++band)
    writeLamps(w, stems[band], w.sizeOf(stems[band], 0), p.plate, captionKey(p, captions[band], 6.5, red, false));
  writeLamps(w, "split", w.sizeOf("splitcue"), p.plate, captionKey(p, "SPLIT", 7, p.accent, true));
}

void deckHalves(SkinWriter& w) {
  const Palette& p = w.palette();
  QSize overview = w.sizeOf("overview", 0);
  QImage frame = canvas(overview.width(), overview.height(), p.lcdBack);
  {
    QPainter g(&frame);
    g.setPen(QPen(p.lcdEdge, 1));
    g.drawLine(QPointF(0, overview.height() / 2.0), QPointF(overview.width(), overview.height() / 2.0));
  }
  w.save("overview.bmp", frame);
  for (int i = 0; i < 8; ++i)
    writeLamps(w, QString("hotcue%1").arg(i + 1), w.sizeOf("hotcue", i), p.plate,
               captionKey(p, QString::number(i + 1), 8, p.cueLit, false));
  struct Loop { const char* stem; const char* caption; };
  for (Loop l : {Loop{"loopin", "IN"}, {"loopout", "OUT"}, {"loopexit", "EXIT"}, {"loophalf", "½"}, {"loopdouble", "×2"}})
    writeLamps(w, l.stem, w.sizeOf(l.stem, 0), p.plate, captionKey(p, l.caption, 7, p.playLit, false));
  writeLamps(w, "keylock", w.sizeOf("keylock", 0), p.plate, captionKey(p, "KEY LOCK", 7, p.accent, true));
  const char* beats[] = {"1/2", "1", "2", "4", "8"};
  for (int j = 0; j < 5; ++j)
    writeLamps(w, QString("beatloop%1").arg(j + 1), w.sizeOf("beatloop", j), p.plate,
               captionKey(p, beats[j], 7.5, p.playLit, false));
}

}  // namespace

void paintDjPanel(SkinWriter& w) {
  panelBackground(w);
  middle(w);
  deckHalves(w);
  writeLamps(w, "dj", w.sizeOf("Imgdj"), w.palette().bodyBottom, captionKey(w.palette(), "DJ", 7.5, w.palette().accent, true));
}

}  // namespace vx::skinpaint
