#include "tools/skinpaint_kit.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace vx::skinpaint {

QColor mix(const QColor& a, const QColor& b, double t) {
  auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()));
}

QImage canvas(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void prepare(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

void drawKey(QPainter& g, const QRectF& r, const Palette& p, KeyState state, const QColor& lit) {
  QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
  double radius = std::min(p.radius, std::min(r.width(), r.height()) / 2.5);
  QColor top = p.keyTop, bottom = p.keyBottom;
  if (state == KeyState::Lit) {
    top = mix(lit, Qt::white, 0.25);
    bottom = mix(lit, Qt::black, 0.25);
  } else if (state == KeyState::Down) {
    top = mix(p.keyBottom, Qt::black, 0.25);
    bottom = mix(p.keyTop, Qt::black, 0.1);
  }
  QLinearGradient fill(face.topLeft(), face.bottomLeft());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  g.setPen(QPen(QColor(0, 0, 0, 220), 1));
  g.setBrush(fill);
  g.drawRoundedRect(face, radius, radius);
  if (state != KeyState::Down) {
    // The lit edge of a raised key.
    QColor edge = state == KeyState::Lit ? mix(lit, Qt::white, 0.6) : mix(p.keyTop, Qt::white, 0.25);
    g.setPen(QPen(edge, 1));
    g.drawLine(QPointF(face.left() + radius, face.top() + 1), QPointF(face.right() - radius, face.top() + 1));
  }
  if (p.glossy && state != KeyState::Down) {
    QRectF gloss(face.left() + 1, face.top() + 1, face.width() - 2, face.height() * 0.45);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, state == KeyState::Lit ? 110 : 60));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    g.setPen(Qt::NoPen);
    g.setBrush(shine);
    g.drawRoundedRect(gloss, radius - 1, radius - 1);
  }
}

QColor keyInk(const Palette& p, KeyState state) {
  if (state == KeyState::Lit) return QColor(0x14, 0x12, 0x10);
  if (state == KeyState::Down) return mix(p.keyText, p.accent, 0.5);
  return p.keyText;
}

namespace {

QPainterPath triangle(const QRectF& b, bool right) {
  QPainterPath path;
  if (right) {
    path.moveTo(b.left(), b.top());
    path.lineTo(b.right(), b.center().y());
    path.lineTo(b.left(), b.bottom());
  } else {
    path.moveTo(b.right(), b.top());
    path.lineTo(b.left(), b.center().y());
    path.lineTo(b.right(), b.bottom());
  }
  path.closeSubpath();
  return path;
}

QPainterPath verticalTriangle(const QRectF& b, bool up) {
  QPainterPath path;
  if (up) {
    path.moveTo(b.left(), b.bottom());
    path.lineTo(b.center().x(), b.top());
    path.lineTo(b.right(), b.bottom());
  } else {
    path.moveTo(b.left(), b.top());
    path.lineTo(b.center().x(), b.bottom());
    path.lineTo(b.right(), b.top());
  }
  path.closeSubpath();
  return path;
}

// A square box of side s centred in b.
QRectF centred(const QRectF& b, double w, double h) {
  return QRectF(b.center().x() - w / 2, b.center().y() - h / 2, w, h);
}

void headphones(QPainter& g, const QRectF& b, const QColor& c) {
  double s = std::min(b.width(), b.height());
  QRectF box = centred(b, s, s);
  g.setPen(QPen(c, std::max(1.2, s / 9), Qt::SolidLine, Qt::RoundCap));
  g.setBrush(Qt::NoBrush);
  QRectF arc(box.left() + s * 0.12, box.top() + s * 0.08, s * 0.76, s * 0.8);
  g.drawArc(arc, 0, 180 * 16);
  g.setPen(Qt::NoPen);
  g.setBrush(c);
  g.drawRoundedRect(QRectF(box.left() + s * 0.05, box.top() + s * 0.5, s * 0.22, s * 0.42), s * 0.06, s * 0.06);
  g.drawRoundedRect(QRectF(box.right() - s * 0.27, box.top() + s * 0.5, s * 0.22, s * 0.42), s * 0.06, s * 0.06);
}

}  // namespace

void drawGlyph(QPainter& g, Glyph glyph, const QRectF& b, const QColor& c) {
  g.save();
  g.setPen(Qt::NoPen);
  g.setBrush(c);
  double h = b.height(), w = b.width();
  switch (glyph) {
    case Glyph::Play:
      g.drawPath(triangle(centred(b, h * 0.85, h), true));
      break;
    case Glyph::PlayPause: {
      QRectF t = centred(b, h * 1.9, h);
      g.drawPath(triangle(QRectF(t.left(), t.top(), h * 0.85, h), true));
      double bar = h * 0.24;
      g.drawRect(QRectF(t.left() + h * 1.05, t.top(), bar, h));
      g.drawRect(QRectF(t.left() + h * 1.05 + bar * 1.7, t.top(), bar, h));
      break;
    }
    case Glyph::Stop:
      g.drawRect(centred(b, h * 0.85, h * 0.85));
      break;
    case Glyph::Back:
    case Glyph::Forward: {
      bool right = glyph == Glyph::Forward;
      QRectF t = centred(b, h * 1.5, h);
      g.drawPath(triangle(QRectF(t.left(), t.top(), h * 0.75, h), right));
      g.drawPath(triangle(QRectF(t.left() + h * 0.75, t.top(), h * 0.75, h), right));
      break;
    }
    case Glyph::Previous:
    case Glyph::Next: {
      bool right = glyph == Glyph::Next;
      QRectF t = centred(b, h * 1.15, h);
      double bar = std::max(1.0, h * 0.2);
      if (right) {
        g.drawPath(triangle(QRectF(t.left(), t.top(), h * 0.85, h), true));
        g.drawRect(QRectF(t.right() - bar, t.top(), bar, h));
      } else {
        g.drawRect(QRectF(t.left(), t.top(), bar, h));
        g.drawPath(triangle(QRectF(t.right() - h * 0.85, t.top(), h * 0.85, h), false));
      }
      break;
    }
    case Glyph::Up:
    case Glyph::Down:
      g.drawPath(verticalTriangle(centred(b, h * 1.2, h * 0.8), glyph == Glyph::Up));
      break;
    case Glyph::Plus: {
      double s = h, t = std::max(1.5, h * 0.22);
      g.drawRect(centred(b, s, t));
      g.drawRect(centred(b, t, s));
      break;
    }
    case Glyph::Minus:
      g.drawRect(centred(b, h, std::max(1.5, h * 0.22)));
      break;
    case Glyph::Cross: {
      g.setPen(QPen(c, std::max(1.4, h * 0.2), Qt::SolidLine, Qt::RoundCap));
      QRectF x = centred(b, h * 0.8, h * 0.8);
      g.drawLine(x.topLeft(), x.bottomRight());
      g.drawLine(x.topRight(), x.bottomLeft());
      break;
    }
    case Glyph::Bar: {
      g.setBrush(Qt::NoBrush);
      g.setPen(QPen(c, 1.2));
      QRectF r = centred(b, h * 1.1, h * 0.6);
      g.drawRect(r);
      g.setBrush(c);
      g.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.35));
      break;
    }
    case Glyph::Underline:
      g.drawRect(QRectF(b.center().x() - h * 0.45, b.bottom() - std::max(1.5, h * 0.2), h * 0.9, std::max(1.5, h * 0.2)));
      break;
    case Glyph::Diamond: {
      QRectF d = centred(b, h, h);
      QPainterPath path;
      path.moveTo(d.center().x(), d.top());
      path.lineTo(d.right(), d.center().y());
      path.lineTo(d.center().x(), d.bottom());
      path.lineTo(d.left(), d.center().y());
      path.closeSubpath();
      g.drawPath(path);
      break;
    }
    case Glyph::Headphones:
      headphones(g, b, c);
      break;
    case Glyph::Record:
      g.drawEllipse(centred(b, h, h));
      break;
    case Glyph::Save: {
      QRectF s = centred(b, h, h);
      g.drawRoundedRect(s, 1, 1);
      g.setBrush(QColor(0, 0, 0, 140));
      g.drawRect(QRectF(s.left() + s.width() * 0.22, s.top(), s.width() * 0.56, s.height() * 0.38));
      g.drawRect(QRectF(s.left() + s.width() * 0.18, s.top() + s.height() * 0.58, s.width() * 0.64, s.height() * 0.3));
      break;
    }
  }
  (void)w;
  g.restore();
}

void drawCaption(QPainter& g, const QRectF& r, const QString& text, const QColor& colour, double pixelSize, int flags,
                 bool bold, bool condensed) {
  QFont font(captionFont());
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  font.setBold(bold);
  if (condensed) font.setStretch(QFont::SemiCondensed);
  font.setHintingPreference(QFont::PreferFullHinting);
  g.save();
  g.setFont(font);
  g.setPen(colour);
  g.drawText(r, flags, text);
  g.restore();
}

void drawLamp(QPainter& g, const QPointF& c, double radius, const QColor& on, const Palette& p, bool lit) {
  g.save();
  g.setPen(Qt::NoPen);
  if (lit) {
    QRadialGradient glow(c, radius * 2.6);
    QColor halo = on;
    halo.setAlpha(110);
    glow.setColorAt(0, halo);
    glow.setColorAt(1, QColor(on.red(), on.green(), on.blue(), 0));
    g.setBrush(glow);
    g.drawEllipse(c, radius * 2.6, radius * 2.6);
  }
  QRadialGradient face(c - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
  QColor core = lit ? mix(on, Qt::white, 0.55) : mix(p.accentDim, Qt::black, 0.2);
  face.setColorAt(0, core);
  face.setColorAt(1, lit ? on : mix(p.accentDim, Qt::black, 0.55));
  g.setBrush(face);
  g.setPen(QPen(QColor(0, 0, 0, 180), 0.8));
  g.drawEllipse(c, radius, radius);
  g.restore();
}

void drawGroove(QPainter& g, const QRectF& slot, const Palette& p) {
  g.save();
  double radius = std::min(slot.width(), slot.height()) / 2;
  g.setPen(QPen(mix(p.plate, Qt::white, 0.12), 1));
  g.setBrush(p.groove);
  g.drawRoundedRect(slot, radius, radius);
  g.setPen(QPen(QColor(0, 0, 0, 200), 1));
  g.drawLine(QPointF(slot.left() + radius, slot.top() + 0.5), QPointF(slot.right() - radius, slot.top() + 0.5));
  g.restore();
}

void drawScale(QPainter& g, QPointF from, QPointF to, int steps, double length, const QColor& colour) {
  g.save();
  bool vertical = from.x() == to.x();
  for (int i = 0; i <= steps; ++i) {
    QPointF at = from + (to - from) * i / steps;
    bool major = i == 0 || i == steps || i * 2 == steps;
    double l = major ? length * 1.5 : length;
    g.setPen(QPen(colour, major ? 1.2 : 0.8));
    g.drawLine(at, at + (vertical ? QPointF(l, 0) : QPointF(0, l)));
  }
  g.restore();
}

void drawGrooves(QPainter& g, const QPointF& centre, double from, double to, double step, int alpha) {
  g.save();
  g.setBrush(Qt::NoBrush);
  for (double r = from; r < to; r += step) {
    g.setPen(QPen(QColor(255, 255, 255, r > to * 0.6 ? alpha + alpha / 2 : alpha), 0.6));
    g.drawEllipse(centre, r, r);
  }
  g.restore();
}

void drawSheen(QPainter& g, const QPointF& centre, double radius, double angle, int strength) {
  QConicalGradient sheen(centre, angle);
  const QColor clear(255, 255, 255, 0);
  sheen.setColorAt(0, clear);
  sheen.setColorAt(0.09, QColor(255, 255, 255, strength));
  sheen.setColorAt(0.18, clear);
  sheen.setColorAt(0.5, clear);
  sheen.setColorAt(0.59, QColor(255, 255, 255, strength * 4 / 5));
  sheen.setColorAt(0.68, clear);
  sheen.setColorAt(1, clear);
  g.save();
  g.setPen(Qt::NoPen);
  g.setBrush(sheen);
  g.drawEllipse(centre, radius, radius);
  g.restore();
}

void drawDisplay(QPainter& g, const QRectF& r, const Palette& p) {
  g.save();
  g.setPen(QPen(mix(p.plate, Qt::black, 0.6), 1));
  g.setBrush(mix(p.plate, Qt::black, 0.5));
  g.drawRoundedRect(r, 4, 4);
  QRectF glass = r.adjusted(2, 2, -2, -2);
  QLinearGradient back(glass.topLeft(), glass.bottomLeft());
  back.setColorAt(0, mix(p.lcdBack, p.lcdEdge, 0.18));
  back.setColorAt(1, p.lcdBack);
  g.setPen(QPen(p.lcdEdge, 1));
  g.setBrush(back);
  g.drawRoundedRect(glass, 3, 3);
  // Faint scan lines of a display.
  g.setPen(QPen(QColor(255, 255, 255, 7), 1));
  for (double y = glass.top() + 2.5; y < glass.bottom() - 1; y += 2) g.drawLine(QPointF(glass.left() + 2, y), QPointF(glass.right() - 2, y));
  g.restore();
}

void drawPlate(QPainter& g, const QRectF& r, const Palette& p, double radius) {
  g.save();
  g.setPen(QPen(QColor(0, 0, 0, 160), 1));
  g.setBrush(p.plate);
  g.drawRoundedRect(r, radius, radius);
  g.setPen(QPen(p.plateEdge, 1));
  g.drawLine(QPointF(r.left() + radius, r.top() + 1), QPointF(r.right() - radius, r.top() + 1));
  if (p.neon) {
    QColor glow = p.accent;
    for (int i = 0; i < 3; ++i) {
      glow.setAlpha(i == 0 ? 150 : 45 / i);
      g.setPen(QPen(glow, 1));
      g.setBrush(Qt::NoBrush);
      g.drawRoundedRect(r.adjusted(1.5 + i, 1.5 + i, -1.5 - i, -1.5 - i), radius, radius);
    }
  }
  g.restore();
}

void fillBody(QPainter& g, const QRectF& r, const Palette& p) {
  QLinearGradient body(r.topLeft(), r.bottomLeft());
  body.setColorAt(0, p.bodyTop);
  body.setColorAt(1, p.bodyBottom);
  g.fillRect(r, body);
}

void drawCap(QPainter& g, const QRectF& r, const Palette& p, bool vertical) {
  g.save();
  QRectF cap = r.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient metal(cap.topLeft(), vertical ? cap.bottomLeft() : cap.topRight());
  metal.setColorAt(0, p.capTop);
  metal.setColorAt(0.48, mix(p.capTop, p.capBottom, 0.55));
  metal.setColorAt(0.52, p.capBottom);
  metal.setColorAt(1, mix(p.capBottom, p.capTop, 0.35));
  g.setPen(QPen(QColor(0, 0, 0, 230), 1));
  g.setBrush(metal);
  g.drawRoundedRect(cap, 2, 2);
  // Grip ridges and the centre line that shows the position.
  g.setPen(QPen(QColor(0, 0, 0, 60), 1));
  for (int i = 1; i <= 2; ++i) {
    double off = i * (vertical ? cap.height() : cap.width()) / 7;
    if (vertical) {
      g.drawLine(QPointF(cap.left() + 2, cap.center().y() - off), QPointF(cap.right() - 2, cap.center().y() - off));
      g.drawLine(QPointF(cap.left() + 2, cap.center().y() + off), QPointF(cap.right() - 2, cap.center().y() + off));
    } else {
      g.drawLine(QPointF(cap.center().x() - off, cap.top() + 2), QPointF(cap.center().x() - off, cap.bottom() - 2));
      g.drawLine(QPointF(cap.center().x() + off, cap.top() + 2), QPointF(cap.center().x() + off, cap.bottom() - 2));
    }
  }
  g.setPen(QPen(p.capLine, 2));
  if (vertical)
    g.drawLine(QPointF(cap.left() + 1.5, cap.center().y()), QPointF(cap.right() - 1.5, cap.center().y()));
  else
    g.drawLine(QPointF(cap.center().x(), cap.top() + 1.5), QPointF(cap.center().x(), cap.bottom() - 1.5));
  g.restore();
}

}  // namespace vx::skinpaint
