#include "view/digit_glyphs.h"

#include <QRawFont>
#include <QTextLayout>
#include <QTextLine>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace vx::view {

namespace {

const QString kAlphabet = QStringLiteral("0123456789':.-/+%");
constexpr int kSize = 17;

int slotOf(QChar ch) {
  const qsizetype at = kAlphabet.indexOf(ch);
  return at < 0 ? -1 : static_cast<int>(at);
}

// What the shaping made of a text on one unbounded line, laid out as the labels lay out theirs.
struct Shaped {
  bool single = false;  // one run of one glyph per character
  QGlyphRun run;
  qreal naturalWidth = 0, height = 0;
};

Shaped shape(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setTextDirection(Qt::LeftToRight);
  option.setAlignment(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1e6);
  line.setPosition(QPointF(0, 0));
  layout.endLayout();
  Shaped s;
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() != 1 || runs[0].glyphIndexes().size() != text.size()) return s;
  s.single = true;
  s.run = runs[0];
  s.naturalWidth = line.naturalTextWidth();
  s.height = line.ascent() + line.descent();
  return s;
}

// One font's glyphs of the alphabet: the glyph of each character, the advance of a character
// before each other one, and the part of the natural width a last character adds.
struct Table {
  bool usable = false;
  QGlyphRun prototype;  // the font and flags every composed run takes
  QPointF origin;       // the first glyph's position: the line's start on the baseline
  qreal height = 0;
  std::array<quint32, kSize> glyph{};
  std::array<std::array<qreal, kSize>, kSize> advance{};
  std::array<qreal, kSize> last{};
  std::array<QRectF, kSize> ink{};  // each glyph's ink about its origin

  bool compose(const QString& text, QList<quint32>& glyphs, QList<QPointF>& positions, qreal& width,
               QList<QRectF>* inks = nullptr) const {
    if (inks) inks->resize(text.size());
    glyphs.resize(text.size());
    positions.resize(text.size());
    qreal x = origin.x();
    int previous = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
      const int slot = slotOf(text[i]);
      if (slot < 0) return false;
      if (previous >= 0) x += advance[previous][slot];
      glyphs[i] = glyph[slot];
      positions[i] = QPointF(x, origin.y());
      if (inks) (*inks)[i] = ink[slot].translated(positions[i]);
      previous = slot;
    }
    width = x - origin.x() + (previous >= 0 ? last[previous] : 0);
    return !text.isEmpty();
  }
};

// Every ordered pair of the alphabet's characters, each in a text of its own.
QString pairs() {
  QString s;
  for (QChar a : kAlphabet)
    for (QChar b : kAlphabet) s += QString(a) + b;
  return s;
}

// Reads the pairs' glyphs and advances; false when a character or pair shapes two ways.
bool learnPairs(Table& t, const QFont& font) {
  const QString text = pairs();
  const Shaped s = shape(font, text);
  if (!s.single) return false;
  const QList<quint32> glyphs = s.run.glyphIndexes();
  const QList<QPointF> positions = s.run.positions();
  std::array<std::array<bool, kSize>, kSize> known{};
  std::array<bool, kSize> seen{};
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int a = slotOf(text[i]);
    if (seen[a] && t.glyph[a] != glyphs[i]) return false;
    seen[a] = true;
    t.glyph[a] = glyphs[i];
    if (positions[i].y() != positions[0].y()) return false;
    if (i + 1 == text.size()) break;
    const int b = slotOf(text[i + 1]);
    const qreal advance = positions[i + 1].x() - positions[i].x();
    if (known[a][b] && t.advance[a][b] != advance) return false;
    known[a][b] = true;
    t.advance[a][b] = advance;
  }
  t.prototype = s.run;
  t.origin = positions[0];
  t.height = s.height;
  return true;
}

bool learnLast(Table& t, const QFont& font) {
  for (int a = 0; a < kSize; ++a) {
    const Shaped s = shape(font, kAlphabet.mid(a, 1));
    if (!s.single || s.run.positions()[0] != t.origin) return false;
    t.last[a] = s.naturalWidth;
  }
  return true;
}

// Composes every triple of the alphabet and compares it with the font's own shaping.
bool agreesOnTriples(const Table& t, const QFont& font) {
  QString text;
  for (QChar a : kAlphabet)
    for (QChar b : kAlphabet)
      for (QChar c : kAlphabet) text += QString(a) + b + c;
  const Shaped s = shape(font, text);
  QList<quint32> glyphs;
  QList<QPointF> positions;
  qreal width = 0;
  return s.single && t.compose(text, glyphs, positions, width) && glyphs == s.run.glyphIndexes() &&
         positions == s.run.positions() && width == s.naturalWidth && s.height == t.height;
}

std::unique_ptr<Table> learn(const QFont& font) {
  auto t = std::make_unique<Table>();
  t->usable = learnPairs(*t, font) && learnLast(*t, font) && agreesOnTriples(*t, font);
  if (t->usable) {
    const QRawFont raw = t->prototype.rawFont();
    for (int a = 0; a < kSize; ++a) t->ink[a] = raw.boundingRect(t->glyph[a]);
  }
  return t;
}

}  // namespace

bool composeDigits(const QFont& font, const QString& text, qreal width, QGlyphRun& run, QSizeF& extent,
                   QList<QRectF>* inks) {
  // The window's few label fonts, learned once each for the program's run; a label's font
  // shares its data with the one learned, which makes the comparison cheap.
  static std::vector<std::pair<QFont, std::unique_ptr<Table>>> tables;
  auto known = std::find_if(tables.begin(), tables.end(), [&font](const auto& t) { return t.first == font; });
  if (known == tables.end()) known = tables.emplace(tables.end(), font, learn(font));
  const Table* table = known->second.get();
  if (!table->usable) return false;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  qreal natural = 0;
  if (!table->compose(text, glyphs, positions, natural, inks) || natural >= width) return false;
  run = table->prototype;
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  run.setBoundingRect(QRectF());  // the prototype's would not cover these glyphs
  extent = QSizeF(natural, table->height);
  return true;
}

QRectF differingGlyphs(const QGlyphRun& before, const QList<QRectF>& inksBefore, const QGlyphRun& after,
                       const QList<QRectF>& inksAfter) {
  const QList<quint32> glyphsBefore = before.glyphIndexes(), glyphsAfter = after.glyphIndexes();
  const QList<QPointF> placesBefore = before.positions(), placesAfter = after.positions();
  QRectF area;
  for (qsizetype i = 0; i < std::max(glyphsBefore.size(), glyphsAfter.size()); ++i) {
    const bool inBefore = i < glyphsBefore.size(), inAfter = i < glyphsAfter.size();
    if (inBefore && inAfter && glyphsBefore[i] == glyphsAfter[i] && placesBefore[i] == placesAfter[i]) continue;
    if (inBefore) area |= inksBefore[i];
    if (inAfter) area |= inksAfter[i];
  }
  return area;
}

}  // namespace vx::view
