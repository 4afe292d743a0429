#include "config/curve_graph.h"

#include <string>

namespace vx::config {

namespace {

constexpr double kLeft = 267, kRight = 2267, kFull = 480, kSilent = 840;
// Start sliders cover the first half of the travel, end sliders the second.
constexpr double kStartOrigin = 267, kEndOrigin = 1267;

form::Line& line(Program& p, int i) { return p.config.get<form::Line>("Line1", i); }

double sliderX(Program& p, int k) {
  const int value = p.config.slider("fdSlider" + std::to_string(k)).value();
  return 2.0 * value + (k % 2 == 0 ? kStartOrigin : kEndOrigin);
}

void setEnd(form::Line& l, double x, double y) { l.set(l.x1, l.y1, x, y); }
void setStart(form::Line& l, double x, double y) { l.set(x, y, l.x2, l.y2); }

}  // namespace

void fdSlider_Scroll(Program& p, int k) {
  const double x = sliderX(p, k);
  switch (k) {
    case 0: setEnd(line(p, 3), x, kFull); setStart(line(p, 4), x, kFull); break;
    case 1: setEnd(line(p, 4), x, kSilent); setStart(line(p, 5), x, kSilent); break;
    case 2: setEnd(line(p, 2), x, kSilent); setStart(line(p, 0), x, kSilent); break;
    case 3: setEnd(line(p, 0), x, kFull); setStart(line(p, 1), x, kFull); break;
    default: break;
  }
}

void linedraw(Program& p) {
  line(p, 3).set(kLeft, kFull, kLeft, kFull);
  line(p, 5).set(kRight, kSilent, kRight, kSilent);
  line(p, 2).set(kLeft, kSilent, kLeft, kSilent);
  line(p, 1).set(kRight, kFull, kRight, kFull);
  for (int k = 0; k < 4; ++k) fdSlider_Scroll(p, k);
}

}  // namespace vx::config
