#pragma once
// How the window writes its texts: the fonts and colours a skin's font.txt gives the displays,
// the sampler pads and the song lists, and the look of every other label.
#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "form/control.h"

namespace vx::view {

struct TextLook {
  QFont font;
  QColor colour;
};

struct SkinText {
  QString displayFont[2] = {"Noto Sans CJK JP", "Noto Sans CJK JP"};
  double displaySize[2] = {16, 16};  // points
  QColor displayColour[2] = {QColor(0xff, 0xb3, 0x47), QColor(0xff, 0xb3, 0x47)};
  QString samplerFont = "Noto Sans CJK JP";
  double samplerSize = 8;
  QColor samplerColour = QColor(0xf0, 0xf0, 0xf0);
  QColor listText[2] = {QColor(0xf0, 0xf0, 0xf0), QColor(0xf0, 0xf0, 0xf0)};
  QColor listBack = QColor(0x18, 0x18, 0x1c);
};

// Reads `folder`/font.txt; values missing or unreadable keep the defaults.
SkinText readSkinText(const std::string& folder);

// A point size as pixels at the standard 96 dots per inch (Qt scales pixels for the screen).
QFont fontOf(const QString& family, double points);

// A colour value 0x00BBGGRR.
QColor colourOf(long value);

// The look of a label of the main window.
TextLook labelLook(const SkinText& text, const form::Control& label);

}  // namespace vx::view
