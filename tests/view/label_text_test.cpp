// A label's text looks the same whether it was shaped whole or composed from glyphs shaped once:
// the time displays, a pitch and a total time in the skins' fonts, against QPainter::drawText.
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/view/qt_app.h"
#include "view/digit_glyphs.h"
#include "view/label_text.h"

namespace vx::test {
namespace {

QImage canvas() {
  QImage image(180, 40, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  return image;
}

void prepare(QPainter& g, const QFont& font) {
  g.setRenderHint(QPainter::Antialiasing);
  g.setRenderHint(QPainter::TextAntialiasing);
  g.setFont(font);
  g.setPen(QColor(0xff, 0xb3, 0x47));
}

TEST(LabelTextTest, ComposedDigitsDrawAsShapedText) {
  testApp();
  const QRectF rect(7, 3.5, 160, 30);
  for (int pixels : {11, 12, 21}) {
    QFont font("Noto Sans CJK JP");
    font.setPixelSize(pixels);
    QGlyphRun run;
    QSizeF extent;
    EXPECT_TRUE(view::composeDigits(font, "02'47''310", rect.width(), run, extent)) << pixels << " px";
    for (const char* text : {"02'47''310", "00'00''000", "59'59''999", "/06'12", "+02.4%", "-13.0%", "00:01", "128.0", "1"}) {
      QImage composed = canvas(), drawn = canvas();
      {
        QPainter g(&composed);
        prepare(g, font);
        view::LabelText label;
        label.setText(text);
        label.draw(g, rect);
      }
      {
        QPainter g(&drawn);
        prepare(g, font);
        g.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
      }
      EXPECT_TRUE(composed == drawn) << text << " at " << pixels << " px";
    }
  }
}

// A time display that repaints only the pixels change() names, over what it showed before and
// drawing only the glyphs that reach them, ends up exactly as the new text drawn whole.
TEST(LabelTextTest, RepaintingTheChangedDigitsDrawsTheNewTextWhole) {
  testApp();
  const QRectF rect(7.5, 3.25, 160, 30);
  const std::vector<std::pair<const char*, const char*>> steps = {
      {"00'00''000", "00'00''033"}, {"00'00''966", "00'01''000"}, {"09'59''990", "10'00''023"},
      {"01'11''111", "01'11''144"}, {"02'47''310", "02'47''310"}, {"1", "10"}, {"100", "1"}, {"-0.4%", "+11.1%"}};
  for (int pixels : {12, 21}) {
    QFont font("Noto Sans CJK JP");
    font.setPixelSize(pixels);
    for (const auto& [from, to] : steps) {
      QImage repainted = canvas(), whole = canvas();
      view::LabelText label;
      label.setText(from);
      std::optional<QRect> area;
      {
        QPainter g(&repainted);
        prepare(g, font);
        label.draw(g, rect);
        area = label.change(to, rect);
        ASSERT_TRUE(area) << from << " to " << to << " at " << pixels << " px";
        g.setClipRect(*area);
        g.fillRect(*area, Qt::black);
        const QRegion painted(*area);
        label.draw(g, rect, &painted);
      }
      {
        QPainter g(&whole);
        prepare(g, font);
        g.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, to);
      }
      EXPECT_TRUE(repainted == whole) << from << " to " << to << " at " << pixels << " px";
      EXPECT_EQ(area->isEmpty(), std::string(from) == to);
    }
  }
  // Not known to be composed: the whole label is drawn again.
  view::LabelText label;
  label.setText("00'00''000");
  EXPECT_FALSE(label.change("00'00''033", rect)) << "never drawn";
  QImage image = canvas();
  QPainter g(&image);
  prepare(g, QFont("Noto Sans CJK JP"));
  label.draw(g, rect);
  EXPECT_FALSE(label.change("CUE STAND BY!", rect));
  EXPECT_FALSE(label.change("00'00''000", rect)) << "after a shaped text";
}

TEST(LabelTextTest, OtherTextsAndNarrowRectanglesAreShapedWhole) {
  testApp();
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(21);
  QGlyphRun run;
  QSizeF extent;
  EXPECT_FALSE(view::composeDigits(font, "CUE STAND BY!", 500, run, extent));
  EXPECT_FALSE(view::composeDigits(font, "", 500, run, extent));
  EXPECT_FALSE(view::composeDigits(font, "02'47''310", 20, run, extent)) << "it would wrap";
}

}  // namespace
}  // namespace vx::test
