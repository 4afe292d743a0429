// Buttons and lamps: each with its released picture ("1") and its pressed or lit one ("2").
#include <QRadialGradient>
#include <functional>

#include "tools/skinpaint_kit.h"
#include "tools/skinpaint_writer.h"

namespace vx::skinpaint {

namespace {

// Draws the face of a button in a state, on a picture already filled with the background.
using Face = std::function<void(QPainter&, const QRectF&, KeyState)>;

void writePair(SkinWriter& w, const QString& stem, QSize size, const QColor& background, KeyState second, const Face& face) {
  for (KeyState state : {KeyState::Up, second}) {
    QImage image = canvas(size.width(), size.height(), background);
    QPainter g(&image);
    prepare(g);
    face(g, QRectF(0, 0, size.width(), size.height()), state);
    g.end();
    w.save(stem + (state == KeyState::Up ? "1.bmp" : "2.bmp"), image);
  }
}

// A key with a glyph; pressed keys sink and their glyph moves down a pixel.
Face glyphKey(const Palette& p, Glyph glyph, double glyphHeight, const QColor& lit = {}) {
  return [&p, glyph, glyphHeight, lit](QPainter& g, const QRectF& r, KeyState s) {
    drawKey(g, r, p, s, lit);
    QRectF box = r.translated(0, s == KeyState::Down ? 1 : 0);
    drawGlyph(g, glyph, QRectF(box.center().x() - r.width() / 2, box.center().y() - glyphHeight / 2, r.width(), glyphHeight),
              keyInk(p, s));
  };
}

Face textKey(const Palette& p, QString text, double size, const QColor& lit = {}) {
  return [&p, text, size, lit](QPainter& g, const QRectF& r, KeyState s) {
    drawKey(g, r, p, s, lit);
    drawCaption(g, r.translated(0, s == KeyState::Down ? 1 : 0), text, keyInk(p, s), size);
  };
}

// A key with a lamp at its left edge that is lit in the second picture.
Face lampKey(const Palette& p, QString text, double size) {
  return [&p, text, size](QPainter& g, const QRectF& r, KeyState s) {
    drawKey(g, r, p, KeyState::Up, {});
    double lamp = r.height() * 0.16;
    drawLamp(g, QPointF(r.left() + lamp + 3.5, r.center().y()), lamp, p.accent, p, s == KeyState::Lit);
    drawCaption(g, r.adjusted(lamp * 2 + 4, 0, 0, 0), text, s == KeyState::Lit ? mix(p.keyText, p.accent, 0.5) : p.keyText, size);
  };
}

// The big round transport keys: a ring that lights up around a domed face.
Face roundKey(const Palette& p, const QColor& lit, const std::function<void(QPainter&, const QRectF&, const QColor&)>& label) {
  return [&p, lit, label](QPainter& g, const QRectF& r, KeyState s) {
    QPointF c = r.center();
    double radius = std::min(r.width(), r.height()) / 2 - 0.5;
    bool on = s == KeyState::Lit;
    // Ring.
    QRadialGradient ring(c, radius);
    ring.setColorAt(0.78, on ? mix(lit, Qt::white, 0.35) : mix(p.accentDim, Qt::black, 0.35));
    ring.setColorAt(1, on ? lit : mix(p.accentDim, Qt::black, 0.6));
    g.setPen(QPen(QColor(0, 0, 0, 220), 1));
    g.setBrush(ring);
    g.drawEllipse(c, radius, radius);
    // Face.
    double face = radius * 0.78;
    QRadialGradient dome(c - QPointF(face * 0.35, face * 0.45), face * 1.5);
    QColor top = on ? mix(lit, Qt::white, 0.2) : p.keyTop;
    QColor bottom = on ? mix(lit, Qt::black, 0.35) : p.keyBottom;
    dome.setColorAt(0, mix(top, Qt::white, 0.15));
    dome.setColorAt(1, bottom);
    g.setBrush(dome);
    g.setPen(QPen(QColor(0, 0, 0, 200), 1));
    g.drawEllipse(c, face, face);
    if (p.glossy) {
      QRectF gloss(c.x() - face * 0.7, c.y() - face * 0.92, face * 1.4, face * 0.9);
      QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
      shine.setColorAt(0, QColor(255, 255, 255, on ? 120 : 70));
      shine.setColorAt(1, QColor(255, 255, 255, 0));
      g.setPen(Qt::NoPen);
      g.setBrush(shine);
      g.drawEllipse(gloss);
    }
    label(g, QRectF(c.x() - face, c.y() - face, face * 2, face * 2), on ? QColor(0x14, 0x12, 0x10) : lit);
  };
}

void titleBarButtons(SkinWriter& w) {
  const Palette& p = w.palette();
  QColor bar = p.bodyBottom;
  writePair(w, "menu", w.sizeOf("Imgmenu"), bar, KeyState::Lit, lampKey(p, "MENU", 7.5));
  writePair(w, "sampler", w.sizeOf("Imgsam"), bar, KeyState::Lit, lampKey(p, "SMP", 7.5));
  writePair(w, "list", w.sizeOf("Imglist"), bar, KeyState::Lit, lampKey(p, "LIST", 7.5));
  writePair(w, "recorder", w.sizeOf("Imgrec"), bar, KeyState::Lit, [&p](QPainter& g, const QRectF& r, KeyState s) {
    drawKey(g, r, p, KeyState::Up, {});
    double lamp = r.height() * 0.16;
    drawLamp(g, QPointF(r.left() + lamp + 3.5, r.center().y()), lamp, QColor(0xff, 0x30, 0x30), p, s == KeyState::Lit);
    drawCaption(g, r.adjusted(lamp * 2 + 4, 0, 0, 0), "REC", p.keyText, 7.5);
  });
  writePair(w, "formbar", w.sizeOf("Tobar"), bar, KeyState::Down, glyphKey(p, Glyph::Bar, 7));
  writePair(w, "formsmall", w.sizeOf("Minimum"), bar, KeyState::Down, glyphKey(p, Glyph::Underline, 8));
  writePair(w, "formend", w.sizeOf("Formend"), bar, KeyState::Down, glyphKey(p, Glyph::Cross, 7));
}

void miniButtons(SkinWriter& w) {
  const Palette& p = w.palette();
  struct Mini { const char* name; Glyph glyph; };
  for (Mini m : {Mini{"miniplay", Glyph::Play}, {"ministop", Glyph::Stop}, {"minipre", Glyph::Previous}, {"mininext", Glyph::Next}}) {
    QSize size = w.sizeOf(m.name);
    QImage image = canvas(size.width(), size.height(), p.bodyBottom);
    QPainter g(&image);
    prepare(g);
    QRectF r(0, 0, size.width(), size.height());
    drawKey(g, r, p, KeyState::Up, {});
    drawGlyph(g, m.glyph, QRectF(0, r.center().y() - 3.5, r.width(), 7), p.accent);
    g.end();
    w.save(QString(m.name) + ".bmp", image);
  }
}

void deckButtons(SkinWriter& w) {
  const Palette& p = w.palette();
  QColor plate = p.plate;
  writePair(w, "sback", w.sizeOf("searchL", 0), plate, KeyState::Down, glyphKey(p, Glyph::Back, 9));
  writePair(w, "sgo", w.sizeOf("searchR", 0), plate, KeyState::Down, glyphKey(p, Glyph::Forward, 9));
  writePair(w, "stop", w.sizeOf("Stop", 0), plate, KeyState::Down, glyphKey(p, Glyph::Stop, 9));
  for (int deck = 0; deck < 2; ++deck) {
    QString letter = deck == 0 ? "A" : "B";
    writePair(w, QString("ch%1").arg(deck + 1), w.sizeOf("Imgmonitor", deck), plate, KeyState::Lit,
              [&p, letter](QPainter& g, const QRectF& r, KeyState s) {
                bool on = s == KeyState::Lit;
                drawKey(g, r, p, KeyState::Up, {});
                QColor ink = on ? p.accent : p.silkDim;
                drawGlyph(g, Glyph::Headphones, QRectF(r.left() + 5, r.top() + 4, 16, r.height() - 8), ink);
                drawCaption(g, QRectF(r.left() + 22, r.top(), r.width() - 26, r.height()), letter, on ? p.accent : p.keyText, 11);
                if (on) {
                  g.setPen(QPen(p.accent, 1.2));
                  g.setBrush(Qt::NoBrush);
                  g.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), p.radius, p.radius);
                }
              });
  }
  writePair(w, "cue", w.sizeOf("Play", 0), plate, KeyState::Lit,
            roundKey(p, p.cueLit, [](QPainter& g, const QRectF& face, const QColor& ink) { drawCaption(g, face, "CUE", ink, 12); }));
  writePair(w, "play", w.sizeOf("Pause", 0), plate, KeyState::Lit,
            roundKey(p, p.playLit, [](QPainter& g, const QRectF& face, const QColor& ink) {
              drawGlyph(g, Glyph::PlayPause, QRectF(face.left(), face.center().y() - 6, face.width(), 12), ink);
            }));
}

void listButtons(SkinWriter& w) {
  const Palette& p = w.palette();
  QColor plate = p.plate;
  QSize size = w.sizeOf("Imgadd", 0);
  writePair(w, "add", size, plate, KeyState::Down, glyphKey(p, Glyph::Plus, 8));
  writePair(w, "dell", size, plate, KeyState::Down, glyphKey(p, Glyph::Minus, 8));
  writePair(w, "up", size, plate, KeyState::Down, glyphKey(p, Glyph::Up, 7));
  writePair(w, "down", size, plate, KeyState::Down, glyphKey(p, Glyph::Down, 7));
  writePair(w, "presong", w.sizeOf("SongPre", 0), plate, KeyState::Down, glyphKey(p, Glyph::Previous, 8));
  writePair(w, "nextsong", w.sizeOf("SongNext", 0), plate, KeyState::Down, glyphKey(p, Glyph::Next, 8));
  writePair(w, "tob", w.sizeOf("ImgtoB"), plate, KeyState::Down, textKey(p, "▶ B", 9.5));
  writePair(w, "toa", w.sizeOf("ImgtoA"), plate, KeyState::Down, textKey(p, "A ◀", 9.5));
}

void mixerButtons(SkinWriter& w) {
  const Palette& p = w.palette();
  QColor plate = p.plate;
  writePair(w, "switch", w.sizeOf("switch"), plate, KeyState::Down, [&p](QPainter& g, const QRectF& r, KeyState s) {
    drawKey(g, r, p, s, {});
    QRectF box = r.translated(0, s == KeyState::Down ? 1 : 0);
    drawCaption(g, box, "SWITCH", s == KeyState::Down ? p.accent : p.keyText, 8.5);
  });
  writePair(w, "fdtoa", w.sizeOf("Lvol"), plate, KeyState::Down, textKey(p, "◀ A", 8.5));
  writePair(w, "fdtob", w.sizeOf("volR"), plate, KeyState::Down, textKey(p, "B ▶", 8.5));
  writePair(w, "center", w.sizeOf("center"), plate, KeyState::Down, glyphKey(p, Glyph::Diamond, 7));
  const char* captions[] = {"A", "B", "C", "CUT"};
  for (int i = 0; i < 4; ++i) {
    QString caption = captions[i];
    writePair(w, QString("fdp%1").arg(i + 1), w.sizeOf("FDpaturn", i), plate, KeyState::Lit,
              [&p, caption](QPainter& g, const QRectF& r, KeyState s) {
                bool on = s == KeyState::Lit;
                drawKey(g, r, p, KeyState::Up, {});
                drawLamp(g, QPointF(r.left() + 6, r.center().y()), 2.6, p.accent, p, on);
                drawCaption(g, r.adjusted(10, 0, 0, 0), caption, on ? p.accent : p.keyText, caption.size() > 1 ? 7.5 : 9.5);
              });
  }
}

void recorderButtons(SkinWriter& w) {
  const Palette& p = w.palette();
  QSize size = w.sizeOf("Stop", 0);
  QColor red(0xff, 0x36, 0x36);
  writePair(w, "recstart", size, p.plate, KeyState::Lit, [&p, red](QPainter& g, const QRectF& r, KeyState s) {
    drawKey(g, r, p, s == KeyState::Lit ? KeyState::Down : KeyState::Up, {});
    bool on = s == KeyState::Lit;
    drawLamp(g, QPointF(r.left() + 11, r.center().y()), 4, red, p, on);
    drawCaption(g, r.adjusted(16, 0, 0, 0), "REC", on ? red : p.keyText, 9);
  });
  writePair(w, "save", size, p.plate, KeyState::Down, glyphKey(p, Glyph::Save, 10));
}

}  // namespace

void paintButtons(SkinWriter& w) {
  titleBarButtons(w);
  miniButtons(w);
  deckButtons(w);
  listButtons(w);
  mixerButtons(w);
  recorderButtons(w);
}

}  // namespace vx::skinpaint
