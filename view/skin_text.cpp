#include "view/skin_text.h"

#include <cmath>

#include "basic/convert.h"
#include "basic/textfile.h"

namespace vx::view {

namespace {

constexpr double kLabelPoints = 9;

// A colour value 0x00BBGGRR.
QColor colourValue(const std::string& text, const QColor& fallback) {
  auto v = basic::ParseInteger(text);
  if (!v || *v < 0 || *v > 0xFFFFFF) return fallback;
  return QColor(static_cast<int>(*v & 0xFF), static_cast<int>(*v >> 8 & 0xFF), static_cast<int>(*v >> 16 & 0xFF));
}

double sizeValue(const std::string& text, double fallback) {
  double v = basic::Val(text);
  return v > 0 && v <= 200 ? v : fallback;
}

}  // namespace

SkinText readSkinText(const std::string& folder) {
  SkinText t;
  if (folder.empty()) return t;
  basic::TextReadResult file = basic::readTextLines(folder + "/font.txt");
  if (!file.ok) return t;
  const auto& l = file.lines;
  auto line = [&l](size_t n) -> std::string { return n <= l.size() ? l[n - 1] : std::string(); };
  for (int d = 0; d < 2; ++d) {
    t.displaySize[d] = sizeValue(line(1 + d), t.displaySize[d]);
    if (!line(6 + d).empty()) t.displayFont[d] = QString::fromStdString(line(6 + d));
    t.displayColour[d] = colourValue(line(11 + d), t.displayColour[d]);
    t.listText[d] = colourValue(line(14 + d), t.listText[d]);
  }
  t.samplerSize = sizeValue(line(3), t.samplerSize);
  if (!line(8).empty()) t.samplerFont = QString::fromStdString(line(8));
  t.samplerColour = colourValue(line(13), t.samplerColour);
  t.listBack = colourValue(line(16), t.listBack);
  return t;
}

QFont fontOf(const QString& family, double points) {
  QFont font(family);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  return font;
}

QColor colourOf(long value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF), static_cast<int>(value >> 16 & 0xFF));
}

TextLook labelLook(const SkinText& text, const form::Control& label) {
  const std::string& name = label.name();
  int deck = label.index() == 1 ? 1 : 0;
  TextLook look;
  if (name == "text2") look = {fontOf(text.displayFont[deck], text.displaySize[deck]), text.displayColour[deck]};
  else if (name == "Text1") look = {fontOf(text.samplerFont, text.samplerSize), text.samplerColour};
  // The other labels of the window carry the main display's colour.
  else look = {fontOf(text.displayFont[0], kLabelPoints), text.displayColour[0]};
  // What the program gave the control itself comes first.
  if (!label.fontName().empty() || label.fontSize() > 0)
    look.font = fontOf(label.fontName().empty() ? look.font.family() : QString::fromStdString(label.fontName()),
                       label.fontSize() > 0 ? label.fontSize() : look.font.pixelSize() * 72.0 / 96.0);
  if (label.foreColor() >= 0) look.colour = colourOf(label.foreColor());
  return look;
}

}  // namespace vx::view
