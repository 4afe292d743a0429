#pragma once
// Texts of digits and time punctuation ("01'23''456", "00:01", "+02.4%") laid out from glyphs
// shaped once per font instead of shaping every new text: the time displays change on every
// tick. A font takes this path only when its shaping of these characters is a fixed glyph per
// character with an advance that depends on the next character at most (pair kerning), checked
// against the real shaping of every triple of them; otherwise, and for any other character,
// the caller shapes the text itself.
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace vx::view {

// The glyphs `text` lays out as, on one line whose left end stands at the origin (positions
// carry the baseline), and the line's extent (natural width, ascent plus descent). False when
// the font or a character does not take this path, or when the text is wider than `width` (it
// would wrap). `inks`, when given, receives each glyph's ink rectangle in the run's coordinates.
bool composeDigits(const QFont& font, const QString& text, qreal width, QGlyphRun& run, QSizeF& extent,
                   QList<QRectF>* inks = nullptr);

// Where two composed runs of one font draw differently: the union of the ink rectangles (as
// composeDigits gave them), in both runs, of the glyphs that differ in glyph or position, and of
// those only one run has (in the runs' coordinates). Empty when they draw the same.
QRectF differingGlyphs(const QGlyphRun& before, const QList<QRectF>& inksBefore, const QGlyphRun& after,
                       const QList<QRectF>& inksAfter);

}  // namespace vx::view
