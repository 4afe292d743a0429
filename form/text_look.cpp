#include "form/control.h"

namespace vx::form {

bool Control::setFontName(std::string n) {
  if (n.empty()) return false;
  if (fontName_ != n) {
    fontName_ = std::move(n);
    touch();
  }
  return true;
}

bool Control::setFontSize(double points) {
  if (!(points >= 1 && points <= kMaxFontSize)) return false;
  if (fontSize_ != points) {
    fontSize_ = points;
    touch();
  }
  return true;
}

namespace {
bool validColour(long c) { return c >= 0 && c <= 0xFFFFFF; }
}  // namespace

bool Control::setForeColor(long colour) {
  if (!validColour(colour)) return false;
  if (foreColor_ != colour) {
    foreColor_ = colour;
    touch();
  }
  return true;
}

bool Control::setBackColor(long colour) {
  if (!validColour(colour)) return false;
  if (backColor_ != colour) {
    backColor_ = colour;
    touch();
  }
  return true;
}

}  // namespace vx::form
