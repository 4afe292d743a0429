#pragma once
// A label's text, laid out once and drawn as often as its neighbours make it necessary without
// being shaped again. It is laid out and drawn exactly as QPainter::drawText lays out
// AlignLeft | AlignTop | TextWordWrap, so the window looks the same pixel for pixel.
#include <QFont>
#include <QGlyphRun>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <optional>

class QPainter;

namespace vx::view {

class LabelText {
 public:
  void setText(const QString& text);
  // Takes a new text for a label drawn again as it was last drawn (the same font, a rectangle of
  // the same size, now at `rect`) and tells which pixels may change: the ink of the digits that
  // changed, with a pixel around it for the glyphs' soft edges. Empty when the text stayed;
  // std::nullopt when only drawing the whole label again is sure (either text is not composed
  // from digit glyphs, or the label was not drawn yet).
  std::optional<QRect> change(const QString& text, const QRectF& rect);
  bool empty() const { return text_.isEmpty(); }
  // Draws with the painter's font and pen into `rect`; lays the text out again only when the
  // text, the font or the rectangle's width changed since the last drawing. `area`, when given,
  // holds every pixel the painter keeps (its clip lies inside): glyphs composed from digits that
  // cannot reach it are left out, and a text too tall for `rect` is not clipped to it again where
  // `area` lies within it.
  void draw(QPainter& g, const QRectF& rect, const QRegion* area = nullptr);

 private:
  void layOut(const QFont& font, const QRectF& rect);
  // Digits and time punctuation come from glyphs shaped once per font; false for other texts.
  bool compose(const QFont& font, const QRectF& rect);
  void drawDigits(QPainter& g, const QPointF& at, const QRegion* area);

  QString text_;
  std::unique_ptr<QTextLayout> layout_;
  QGlyphRun digits_;  // the text's glyphs when it was composed rather than laid out
  QList<QRectF> inks_;  // each of those glyphs' ink, in the run's coordinates
  bool composed_ = false;
  QFont font_;
  QSizeF size_;       // the rectangle the layout was made for
  QSizeF bounds_;     // the laid-out lines' extent
};

}  // namespace vx::view
