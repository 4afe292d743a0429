#include "mixer/crossfader.h"

#include <algorithm>
#include <string>

#include "basic/convert.h"
#include "mixer/volume_law.h"

namespace vx::mixer {

namespace {

constexpr int kCutIn = 3;
constexpr int kPatternButtons = 4;

form::Picture& knob(Program& p) { return p.main.picture("Faderbtn"); }

}  // namespace

void placeFaderKnob(Program& p, double left) { knob(p).setLeft(left); }

int fadeStepSize(const Program& p) {
  const int pattern = std::clamp(p.mixer.faderPattern, 0, 2);
  const int time = p.settings.faderTime[pattern];
  if (time <= 0) return 1;
  return std::max(1, static_cast<int>(basic::Int(700.0 / time)));
}

void FaderUpdatePosition(Program& p, double x) {
  const double left = p.main.picture("Faderbase").left() + x - knob(p).width() / 2;
  placeFaderKnob(p, std::clamp(left, kFaderAEnd, kFaderBEnd));
  volcontrol(p);
}

void faderJump(Program& p, int left) {
  placeFaderKnob(p, left);
  volcontrol(p);
}

void FDpaturn_Click(Program& p, int n) {
  if (n < 0 || n > kCutIn) return;
  for (int i = 0; i < kPatternButtons; ++i)
    p.main.picture("FDpaturn", i).setPicture("fdp" + std::to_string(i + 1) + (i == n ? "2" : "1") + ".bmp");
  if (n == kCutIn) {
    p.mixer.cutInMode = true;
  } else {
    p.mixer.faderPattern = n;
    p.mixer.cutInMode = false;
  }
}

void faderMouseDown(Program& p, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left) return;
  const double x = onKnob ? e.x + knob(p).left() - p.main.picture("Faderbase").left() : e.x;
  FaderUpdatePosition(p, x);
  p.mixer.faderDragging = true;
}

void faderMouseMove(Program& p, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left || !p.mixer.faderDragging) return;
  const double x = onKnob ? e.x + knob(p).left() - p.main.picture("Faderbase").left() : e.x;
  FaderUpdatePosition(p, x);
}

void faderMouseUp(Program& p) { p.mixer.faderDragging = false; }

}  // namespace vx::mixer
