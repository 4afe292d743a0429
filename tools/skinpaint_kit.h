#pragma once
// Drawing pieces shared by every picture of a skin: key faces, glyphs, captions, lamps, slots
// and displays. Coordinates are pixels of the picture being drawn.
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "tools/skinpaint_style.h"

namespace vx::skinpaint {

enum class KeyState { Up, Down, Lit };

enum class Glyph {
  Play, PlayPause, Stop, Back, Forward, Previous, Next, Up, Down, Plus, Minus, Cross, Bar, Underline,
  Diamond, Headphones, Record, Save,
};

// An opaque picture filled with one colour.
QImage canvas(int width, int height, const QColor& fill);
// A painter with antialiasing on.
void prepare(QPainter& painter);

// A key face filling `r`: raised when up, sunk and shifted when down, backlit when lit.
void drawKey(QPainter& g, const QRectF& r, const Palette& p, KeyState state, const QColor& lit);
// The colour to write on a key in that state.
QColor keyInk(const Palette& p, KeyState state);

void drawGlyph(QPainter& g, Glyph glyph, const QRectF& box, const QColor& colour);
void drawCaption(QPainter& g, const QRectF& r, const QString& text, const QColor& colour, double pixelSize,
                 int flags = Qt::AlignCenter, bool bold = true, bool condensed = true);

// A round lamp; lit lamps glow.
void drawLamp(QPainter& g, const QPointF& centre, double radius, const QColor& on, const Palette& p, bool lit);

// A slot a cap slides in, with its scale marks on one or both sides.
void drawGroove(QPainter& g, const QRectF& slot, const Palette& p);
// Scale marks from `from` to `to` (a vertical or a horizontal run), each `length` long toward
// the right or downward; the ends and the middle are longer and bolder.
void drawScale(QPainter& g, QPointF from, QPointF to, int steps, double length, const QColor& colour);

// A recessed display window.
void drawDisplay(QPainter& g, const QRectF& r, const Palette& p);
// A raised plate of the panel.
void drawPlate(QPainter& g, const QRectF& r, const Palette& p, double radius);

// The fine grooves of a record between two radii, and the light sweeping across it.
void drawGrooves(QPainter& g, const QPointF& centre, double from, double to, double step, int alpha);
void drawSheen(QPainter& g, const QPointF& centre, double radius, double angle, int strength);

// The panels' vertical metal gradient over `r`.
void fillBody(QPainter& g, const QRectF& r, const Palette& p);

// A cap of a fader or slider filling the picture, with its centre line.
void drawCap(QPainter& g, const QRectF& r, const Palette& p, bool vertical);

QColor mix(const QColor& a, const QColor& b, double t);

}  // namespace vx::skinpaint
