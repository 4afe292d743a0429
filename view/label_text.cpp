#include "view/label_text.h"

#include <QPainter>
#include <QTextLine>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "view/digit_glyphs.h"
#include "view/pixel_clip.h"

namespace vx::view {

void LabelText::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  layout_.reset();
  composed_ = false;
}

std::optional<QRect> LabelText::change(const QString& text, const QRectF& rect) {
  if (text == text_) return QRect();
  const bool wasComposed = composed_ && rect.size() == size_;
  const QGlyphRun before = digits_;
  const QList<QRectF> inksBefore = inks_;
  setText(text);
  // Composed now with the font and width it will be drawn with, so drawing does not compose again.
  if (!wasComposed || !compose(font_, rect)) return std::nullopt;
  const QRectF ink = differingGlyphs(before, inksBefore, digits_, inks_);
  if (ink.isEmpty()) return QRect();
  return ink.translated(rect.topLeft()).toAlignedRect().adjusted(-1, -1, 1, 1);
}

bool LabelText::compose(const QFont& font, const QRectF& rect) {
  if (!composeDigits(font, text_, rect.width(), digits_, bounds_, &inks_)) return false;
  layout_.reset();
  composed_ = true;
  font_ = font;
  size_ = rect.size();
  return true;
}

// Line breaks, returns and tabs become what drawText makes of them: a new line, spaces.
void LabelText::layOut(const QFont& font, const QRectF& rect) {
  composed_ = false;
  QString text = text_;
  for (QChar& ch : text) {
    if (ch == u'\r' || ch == u'\t') ch = u' ';
    else if (ch == u'\n') ch = QChar::LineSeparator;
  }
  layout_ = std::make_unique<QTextLayout>(text, font);
  QTextOption option;
  option.setTextDirection(Qt::LeftToRight);
  option.setAlignment(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WordWrap);
  layout_->setTextOption(option);
  layout_->setCacheEnabled(true);
  // Lines stand on whole pixels, one below the other with the font's leading between them, and
  // end with the first one that reaches the bottom of the rectangle.
  const qreal leading = QFontMetricsF(font).leading();
  qreal height = -leading, width = 0;
  layout_->beginLayout();
  for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
    line.setLineWidth(std::max<qreal>(0, rect.width()));
    height = std::ceil(height + leading);
    line.setPosition(QPointF(0, height));
    height += line.ascent() + line.descent();
    width = std::max(width, line.naturalTextWidth());
    if (height >= rect.height()) break;
  }
  layout_->endLayout();
  font_ = font;
  size_ = rect.size();
  bounds_ = QSizeF(width, height);
}

void LabelText::draw(QPainter& g, const QRectF& rect, const QRegion* area) {
  if (text_.isEmpty()) return;
  if ((!layout_ && !composed_) || g.font() != font_ || rect.size() != size_)
    if (!compose(g.font(), rect)) layOut(g.font(), rect);
  // Text that does not fit is cut at the rectangle; text that fits is not, so that the glyphs'
  // soft edges may reach past it.
  bool clip = !rect.contains(QRectF(rect.topLeft(), bounds_));
  // Where the painter keeps only pixels inside the rectangle, a second clip changes nothing.
  if (clip && area && pixelsInside(rect).contains(area->boundingRect())) clip = false;
  if (clip) {
    g.save();
    g.setClipRect(rect, Qt::IntersectClip);
  }
  if (composed_) drawDigits(g, rect.topLeft(), area);
  else
    for (int i = 0; i < layout_->lineCount(); ++i) layout_->lineAt(i).draw(&g, rect.topLeft());
  if (clip) g.restore();
}

void LabelText::drawDigits(QPainter& g, const QPointF& at, const QRegion* area) {
  if (!area) return g.drawGlyphRun(at, digits_);
  // Glyphs whose ink (with the pixel around it that change() counts) misses the area would be
  // clipped away whole; the painter need not rasterise them.
  const QList<quint32> glyphs = digits_.glyphIndexes();
  const QList<QPointF> positions = digits_.positions();
  QList<quint32> someGlyphs;
  QList<QPointF> somePositions;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    if (!area->intersects(inks_[i].translated(at).toAlignedRect().adjusted(-1, -1, 1, 1))) continue;
    someGlyphs.append(glyphs[i]);
    somePositions.append(positions[i]);
  }
  if (someGlyphs.size() == glyphs.size()) return g.drawGlyphRun(at, digits_);
  if (someGlyphs.isEmpty()) return;
  QGlyphRun some = digits_;
  some.setGlyphIndexes(someGlyphs);
  some.setPositions(somePositions);
  g.drawGlyphRun(at, some);
}

}  // namespace vx::view
