// The panels: the player panel with the tracks of every knob, the song list panel, the sampler
// strip and the title bar. Everything is placed from the main window's layout.
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "tools/skinpaint_kit.h"
#include "tools/skinpaint_writer.h"

namespace vx::skinpaint {

namespace {

constexpr double kPi = 3.14159265358979;

QPointF centreOf(const QRectF& r) { return r.center(); }

void silk(QPainter& g, const Palette& p, const QRectF& r, const QString& text, double size = 7, bool dim = false,
          int flags = Qt::AlignCenter) {
  drawCaption(g, r, text, dim ? p.silkDim : p.silk, size, flags);
}

void pitchTrack(QPainter& g, const SkinWriter& w, int deck) {
  const Palette& p = w.palette();
  QRectF track = w.rectOf("pitchbase", deck);
  double x = w.rectOf("pitchbtn", deck).center().x();
  double top = track.top(), bottom = track.bottom();
  drawGroove(g, QRectF(x - 3, top - 2, 6, bottom - top + 4), p);
  drawScale(g, QPointF(x + 8, top), QPointF(x + 8, bottom), 16, 3, p.silkDim);
  drawScale(g, QPointF(x - 11, top), QPointF(x - 11, bottom), 16, 3, p.silkDim);
  double centre = top + (2400 + 127.5 - track.top() * kTwips) / kTwips;
  g.setPen(QPen(p.accent, 1.5));
  g.drawLine(QPointF(x - 13, centre), QPointF(x + 13, centre));
  silk(g, p, QRectF(x + 9, top - 12, 12, 10), "−", 9, true);
  silk(g, p, QRectF(x + 9, bottom + 1, 12, 10), "+", 9, true);
  // The reset tag sits right above the track.
  QRectF reset = w.rectOf("def", deck);
  g.setPen(QPen(QColor(0, 0, 0, 200), 1));
  g.setBrush(mix(p.keyTop, p.plate, 0.3));
  g.drawRoundedRect(reset.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  silk(g, p, reset, "RESET", 6);
}

void jogWheel(QPainter& g, const SkinWriter& w, int deck) {
  const Palette& p = w.palette();
  QRectF wheel = w.rectOf("jogbase", deck);
  QPointF c = centreOf(wheel);
  double r = std::min(wheel.width(), wheel.height()) / 2 - 1;
  // Chrome rim.
  QLinearGradient rim(wheel.topLeft(), wheel.bottomRight());
  rim.setColorAt(0, mix(p.capTop, Qt::white, 0.2));
  rim.setColorAt(0.5, p.capBottom);
  rim.setColorAt(1, mix(p.capTop, Qt::black, 0.2));
  g.setPen(QPen(QColor(0, 0, 0, 230), 1));
  g.setBrush(rim);
  g.drawEllipse(c, r, r);
  // Platter with the grooves of a record.
  double platter = r - 4;
  QRadialGradient vinyl(c, platter);
  vinyl.setColorAt(0, mix(p.groove, p.plate, 0.6));
  vinyl.setColorAt(1, p.groove);
  g.setBrush(vinyl);
  g.setPen(QPen(QColor(0, 0, 0, 255), 1));
  g.drawEllipse(c, platter, platter);
  drawGrooves(g, c, 16, platter - 3, 2.2, 9);
  drawSheen(g, c, platter - 1, 45, 28);
  // Strobe dots on the rim and the ring the marker travels on.
  g.setBrush(mix(p.silkDim, p.accent, 0.3));
  for (int i = 0; i < 48; ++i) {
    double a = 2 * kPi * i / 48;
    g.drawEllipse(QPointF(c.x() + (platter - 2.5) * std::cos(a), c.y() + (platter - 2.5) * std::sin(a)), 0.8, 0.8);
  }
  g.setBrush(Qt::NoBrush);
  g.setPen(QPen(mix(p.accentDim, p.accent, 0.35), 1.2));
  g.drawEllipse(c, wheel.width() / 4, wheel.height() / 4);
  // Centre label with the deck's letter.
  QRadialGradient label(c - QPointF(3, 3), 13);
  label.setColorAt(0, mix(p.accent, Qt::white, 0.25));
  label.setColorAt(1, mix(p.accent, Qt::black, 0.35));
  g.setBrush(label);
  g.setPen(QPen(QColor(0, 0, 0, 200), 1));
  g.drawEllipse(c, 11, 11);
  drawCaption(g, QRectF(c.x() - 11, c.y() - 11, 22, 22), deck == 0 ? "A" : "B", QColor(0x14, 0x12, 0x10), 13);
}

void trimKnob(QPainter& g, const SkinWriter& w, int deck) {
  const Palette& p = w.palette();
  QRectF knob = w.rectOf("Trimbase", deck);
  QPointF c = centreOf(knob);
  // Scale over the upper half: full cut at the left, none at the right.
  for (int i = 0; i <= 10; ++i) {
    double a = kPi - kPi * i / 10;
    bool major = i % 5 == 0;
    g.setPen(QPen(major ? p.silk : p.silkDim, major ? 1.2 : 0.8));
    double r0 = 17.5, r1 = major ? 22.5 : 20.5;
    g.drawLine(QPointF(c.x() + r0 * std::cos(a), c.y() - r0 * std::sin(a)), QPointF(c.x() + r1 * std::cos(a), c.y() - r1 * std::sin(a)));
  }
  // Knurled skirt and a dark cap for the pointer to stand out on.
  g.setPen(QPen(QColor(0, 0, 0, 230), 1));
  g.setBrush(mix(p.capBottom, Qt::black, 0.35));
  g.drawEllipse(c, 15.5, 15.5);
  g.setPen(QPen(QColor(255, 255, 255, 30), 1));
  for (int i = 0; i < 36; ++i) {
    double a = 2 * kPi * i / 36;
    g.drawLine(QPointF(c.x() + 13.5 * std::cos(a), c.y() + 13.5 * std::sin(a)), QPointF(c.x() + 15 * std::cos(a), c.y() + 15 * std::sin(a)));
  }
  QRadialGradient cap(c - QPointF(4, 5), 16);
  cap.setColorAt(0, mix(p.keyTop, Qt::white, 0.12));
  cap.setColorAt(1, mix(p.groove, p.keyBottom, 0.5));
  g.setBrush(cap);
  g.setPen(QPen(QColor(0, 0, 0, 200), 1));
  g.drawEllipse(c, 12.5, 12.5);
}

void channelFader(QPainter& g, const SkinWriter& w, int deck) {
  const Palette& p = w.palette();
  QRectF knob = w.rectOf("Volbtn", deck);
  double x = knob.center().x();
  double top = (1830 + 127.5) / kTwips, bottom = (3330 + 127.5) / kTwips;
  drawGroove(g, QRectF(x - 3, top - 3, 6, bottom - top + 6), p);
  double scaleX = deck == 0 ? x - 22 : x + 18;
  drawScale(g, QPointF(scaleX, top), QPointF(scaleX, bottom), 10, 3, p.silkDim);
  silk(g, p, QRectF(x - 20, bottom + 9, 40, 10), deck == 0 ? "CH A" : "CH B", 7.5);
}

void crossfader(QPainter& g, const SkinWriter& w) {
  const Palette& p = w.palette();
  QRectF base = w.rectOf("Faderbase");
  QRectF knob = w.rectOf("Faderbtn");
  double y = knob.center().y();
  double from = (3630 + knob.width() * kTwips / 2) / kTwips, to = (6630 + knob.width() * kTwips / 2) / kTwips;
  QRectF bezel = base.adjusted(-8, -4, 8, 4);
  drawPlate(g, bezel, p, 5);
  drawGroove(g, QRectF(from - 3, y - 3, to - from + 6, 6), p);
  drawScale(g, QPointF(from, base.top() + 0.5), QPointF(to, base.top() + 0.5), 10, 2.5, p.silkDim);
  g.setPen(QPen(p.accent, 1.5));
  g.drawLine(QPointF((from + to) / 2, base.top()), QPointF((from + to) / 2, base.top() + 5));
  silk(g, p, QRectF(bezel.left() + 1, y - 6, 12, 12), "A", 8);
  silk(g, p, QRectF(bezel.right() - 13, y - 6, 12, 12), "B", 8);
}

void masterLevels(QPainter& g, const SkinWriter& w) {
  const Palette& p = w.palette();
  const char* names[] = {"MON", "MST"};
  for (int i = 0; i < 2; ++i) {
    double x = w.rectOf("masterbtn", i).center().x();
    double top = (3840 + 127.5) / kTwips, bottom = (4840 + 127.5) / kTwips;
    drawGroove(g, QRectF(x - 2.5, top - 3, 5, bottom - top + 6), p);
    drawScale(g, QPointF(x + 5, top), QPointF(x + 5, bottom), 10, 2.5, p.silkDim);
    silk(g, p, QRectF(x - 16, top - 20, 32, 10), names[i], 7);
  }
}

void panTracks(QPainter& g, const SkinWriter& w, int deck) {
  const Palette& p = w.palette();
  QRectF track = w.rectOf("Panbase", deck);
  QRectF knob = w.rectOf("panbtn", deck);
  double y = knob.center().y();
  drawGroove(g, QRectF(track.left(), y - 2.5, track.width(), 5), p);
  g.setPen(QPen(p.accent, 1.5));
  g.drawLine(QPointF(knob.center().x(), y - 10), QPointF(knob.center().x(), y - 6));
  silk(g, p, QRectF(track.left() - 12, y - 5, 10, 10), "L", 7, true);
  silk(g, p, QRectF(track.right() + 2, y - 5, 10, 10), "R", 7, true);
  silk(g, p, QRectF(knob.center().x() - 20, y - 22, 40, 10), "PAN", 7);
}

void displays(QPainter& g, const SkinWriter& w, int deck) {
  const Palette& p = w.palette();
  QRectF text = w.rectOf("text2", deck);
  QRectF total = w.rectOf("Totaltime", deck);
  drawDisplay(g, QRectF(text.left() - 6, text.top() - 4, total.right() - text.left() + 12, total.bottom() - text.top() + 8), p);
  drawDisplay(g, w.rectOf("Pitchper", deck).adjusted(-2, -2, 2, 2), p);
  drawDisplay(g, w.rectOf("modelabel", deck).adjusted(-3, -2, 3, 2), p);
  QRectF mode = w.rectOf("modelabel", deck);
  silk(g, p, QRectF(mode.right() + 5, mode.top(), 40, mode.height()), "MODE", 6.5, true, Qt::AlignLeft | Qt::AlignVCenter);
  // The deck's big letter in the free corner above the tempo display.
  QRectF tempo = w.rectOf("Pitchper", deck);
  drawCaption(g, QRectF(tempo.left(), 4, tempo.width(), tempo.top() - 6), deck == 0 ? "A" : "B", p.accent, 40);
  silk(g, p, QRectF(tempo.left(), tempo.top() - 11, tempo.width(), 9), "TEMPO", 6.5, true);
}

// A panel's picture, the size of its control, filled with the metal.
QImage panelImage(const SkinWriter& w, const char* panel) {
  QSize size = w.sizeOf(panel);
  QImage image = canvas(size.width(), size.height(), w.palette().bodyBottom);
  QPainter g(&image);
  fillBody(g, QRectF(0, 0, size.width(), size.height()), w.palette());
  return image;
}

void logo(QPainter& g, const Palette& p, const QRectF& r) {
  drawCaption(g, QRectF(r.left(), r.top(), r.width(), r.height() * 0.62), "VELVOX", p.accent, 17, Qt::AlignCenter, true, false);
  drawCaption(g, QRectF(r.left(), r.top() + r.height() * 0.55, r.width(), r.height() * 0.4), "TWO DECK DJ MIXER", p.silkDim, 6.5);
}

void playerPanel(SkinWriter& w) {
  const Palette& p = w.palette();
  QImage image = panelImage(w, "Picture4");
  QSize size = image.size();
  QPainter g(&image);
  prepare(g);
  double jogRight = w.rectOf("jogbase", 0).right(), jogLeft = w.rectOf("jogbase", 1).left();
  drawPlate(g, QRectF(3, 3, jogRight - 2, size.height() - 6), p, 6);
  drawPlate(g, QRectF(jogRight + 2.5, 3, jogLeft - jogRight - 5, size.height() - 6), p, 6);
  drawPlate(g, QRectF(jogLeft + 0.5, 3, size.width() - jogLeft - 3.5, size.height() - 6), p, 6);
  logo(g, p, QRectF(jogRight + 4, 10, jogLeft - jogRight - 8, 44));
  for (int deck = 0; deck < 2; ++deck) {
    displays(g, w, deck);
    pitchTrack(g, w, deck);
    jogWheel(g, w, deck);
    trimKnob(g, w, deck);
    channelFader(g, w, deck);
    panTracks(g, w, deck);
  }
  QRectF trimA = w.rectOf("Trimbase", 0), trimB = w.rectOf("Trimbase", 1);
  silk(g, p, QRectF(trimA.right() - 4, trimA.center().y() - 5, trimB.left() - trimA.right() + 8, 10), "TRIM", 7);
  QRectF curve = w.rectOf("FDpaturn", 0);
  silk(g, p, QRectF(curve.left() - 6, curve.top() - 12, curve.width() + 12, 10), "CURVE", 7);
  crossfader(g, w);
  masterLevels(g, w);
  g.end();
  w.save("playerbase.bmp", image);
}

void listPanel(SkinWriter& w) {
  const Palette& p = w.palette();
  QImage image = panelImage(w, "Picture5");
  QSize size = image.size();
  QPainter g(&image);
  prepare(g);
  drawPlate(g, QRectF(3, 3, size.width() - 6, size.height() - 6), p, 6);
  for (int deck = 0; deck < 2; ++deck) {
    QRectF list = w.rectOf("title1", deck);
    g.setPen(QPen(QColor(0, 0, 0, 220), 1));
    g.setBrush(p.listBack);
    g.drawRoundedRect(list.adjusted(-2.5, -2.5, 2.5, 2.5), 3, 3);
    QRectF last = w.rectOf("SongNext", deck);
    QRectF caption(last.right() + 6, last.top(), list.right() - last.right() - 6, last.height());
    drawCaption(g, caption, deck == 0 ? "PLAYER A" : "PLAYER B", p.silkDim, 8, Qt::AlignRight | Qt::AlignVCenter);
    drawLamp(g, QPointF(caption.right() - 62, caption.center().y()), 2.5, p.accent, p, true);
  }
  QRectF toB = w.rectOf("ImgtoB");
  silk(g, p, QRectF(toB.left() - 4, toB.top() - 14, toB.width() + 8, 10), "MOVE", 7, true);
  g.end();
  w.save("listbox.bmp", image);
}

void samplerPanel(SkinWriter& w) {
  const Palette& p = w.palette();
  QImage image = panelImage(w, "Picture8");
  QPainter g(&image);
  prepare(g);
  for (int i = 0; i < 8; ++i) {
    QRectF pad = w.rectOf("Text1", i).adjusted(-5, -5, 5, 5);
    QLinearGradient face(pad.topLeft(), pad.bottomLeft());
    face.setColorAt(0, mix(p.padFace, Qt::white, 0.06));
    face.setColorAt(1, p.padFace);
    g.setPen(QPen(p.padEdge, 1.2));
    g.setBrush(face);
    g.drawRoundedRect(pad.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    // A faint waveform along the bottom and the key that plays the slot.
    QPainterPath wave;
    double base = pad.bottom() - 9;
    for (int x = 0; x <= 50; ++x) {
      double px = pad.left() + 6 + x;
      double amp = 4 * std::sin(x * 0.55 + i) * std::exp(-x / 30.0);
      if (x == 0) wave.moveTo(px, base - amp); else wave.lineTo(px, base - amp);
    }
    g.setPen(QPen(mix(p.padEdge, p.padFace, 0.35), 1));
    g.setBrush(Qt::NoBrush);
    g.drawPath(wave);
    QRectF key(pad.right() - 17, pad.bottom() - 15, 12, 11);
    g.setPen(QPen(p.silkDim, 0.8));
    g.drawRoundedRect(key, 2, 2);
    drawCaption(g, key, QString::number(i + 1), p.silkDim, 7.5);
  }
  g.end();
  w.save("samplerbase.bmp", image);
}

void titleBar(SkinWriter& w) {
  const Palette& p = w.palette();
  QSize size = w.sizeOf("Image1");
  QImage image = canvas(size.width(), size.height(), p.bodyBottom);
  QPainter g(&image);
  prepare(g);
  g.setPen(QPen(mix(p.bodyBottom, Qt::white, 0.12), 1));
  g.drawLine(QPointF(0, 0.5), QPointF(size.width(), 0.5));
  g.setPen(QPen(p.accent, 1));
  g.drawLine(QPointF(0, size.height() - 0.5), QPointF(size.width(), size.height() - 0.5));
  g.drawImage(QRectF(4, 2, size.height() - 4, size.height() - 4), programIcon(64, p));
  QRectF buttons = w.rectOf("Imgmenu");
  drawCaption(g, QRectF(buttons.left() - 170, 0, 160, size.height()), "V E L V O X", p.silkDim, 9, Qt::AlignRight | Qt::AlignVCenter,
              true, false);
  g.end();
  w.save("bar.bmp", image);
}

}  // namespace

void paintPanels(SkinWriter& w) {
  playerPanel(w);
  listPanel(w);
  samplerPanel(w);
  titleBar(w);
}

}  // namespace vx::skinpaint
