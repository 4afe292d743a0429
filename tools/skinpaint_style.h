#pragma once
// The colours and shapes of one skin. Every picture of a skin is drawn from this alone, so a new
// skin is a new palette.
#include <QColor>
#include <QString>

namespace vx::skinpaint {

struct Palette {
  QString name;          // the skin folder's name
  QColor bodyTop, bodyBottom;  // the panels' metal, top and bottom of the gradient
  QColor plate;          // raised deck and mixer plates
  QColor plateEdge;      // their bevel highlight
  QColor groove;         // slots of the faders and sliders
  QColor silk;           // printed captions on the panels
  QColor silkDim;        // scale marks and minor captions
  QColor accent;         // the skin's signature colour (lit lamps, rings)
  QColor accentDim;      // unlit lamps, accent details
  QColor cueLit, playLit;  // the lit CUE and PLAY buttons
  QColor keyTop, keyBottom;  // button faces
  QColor keyText;        // button glyphs and captions
  QColor lcdBack, lcdEdge, lcdText;  // the displays
  QColor listText, listBack;         // the song lists
  QColor padFace, padEdge;           // sampler pads
  QColor capTop, capBottom, capLine;  // fader and slider caps
  double radius = 3;     // corner radius of keys, pixels
  bool glossy = false;   // keys with a glass highlight
  bool neon = false;     // plates edged with a glow of the accent colour
};

Palette orangePalette();
Palette midnightPalette();

// The font every picture writes its captions in.
QString captionFont();

}  // namespace vx::skinpaint
