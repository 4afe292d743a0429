#include "mixer/crossfader.h"

#include <algorithm>
#include <string>

#include "basic/convert.h"
#include "decks/monitor.h"
#include "decks/transport.h"
#include "mixer/volume_law.h"

namespace vx::mixer {

namespace {

constexpr int kCutIn = 3;
constexpr int kPatternButtons = 4;

form::Picture& knob(Program& p) { return p.main.picture("Faderbtn"); }

void setKnob(Program& p, double left) { knob(p).setLeft(left); }

void finishFade(Program& p, double left) {
  p.mixer.switchPhase = 0;
  setKnob(p, left);
  p.mixer.switchBusy = false;
  volcontrol(p);
}

// The next knob position n (units) of a fade, or false when the value does not fit.
bool nextPosition(float u, int step, int& n) {
  try {
    n = basic::CInt(u + step);
    return true;
  } catch (const basic::OverflowError&) {
    return false;
  }
}

}  // namespace

int switchTarget(const Program& p) { return faderPosition(p) < 0 ? 1 : 0; }

void startTarget(Program& p, int deck) {
  p.player(deck).play();
  if (p.monitor.monitorDeck == deck) decks::vbmp3play(p);
  p.main.picture("Play", deck).setPicture("cue1.bmp");
  p.main.picture("Pause", deck).setPicture("play2.bmp");
  DeckState& d = p.deck[deck];
  d.cueStandby = false;
  d.holdActive = false;
  // A deck frozen on its mark would otherwise keep being sent back to it while it shows playing.
  d.stutterArmed = false;
  d.deckIdle = false;
  p.main.label("Totaltime", deck).setCaption(decks::totalTimeText(p.player(deck).duration()));
}

int fadeStepSize(const Program& p) {
  const int pattern = std::clamp(p.mixer.faderPattern, 0, 2);
  const int time = p.settings.faderTime[pattern];
  if (time <= 0) return 1;
  return std::max(1, static_cast<int>(basic::Int(700.0 / time)));
}

void switching(Program& p) {
  if (p.mixer.switchPhase != 0) {
    p.mixer.switchPhase = 0;
    return;
  }
  const int target = switchTarget(p);
  if (p.settings.playOnSwitch) startTarget(p, target);
  if (p.mixer.cutInMode) {
    setKnob(p, target == 1 ? kFaderBEnd : kFaderAEnd);
    volcontrol(p);
    return;
  }
  p.mixer.switchPhase = target == 1 ? 1 : 2;
  p.mixer.switchBusy = true;
}

bool fadeStep(Program& p) {
  const float u = faderPosition(p);
  const int step = fadeStepSize(p);
  int n = 0;
  if (p.mixer.switchPhase == 1) {
    if (!nextPosition(u, step, n)) return false;
    if (n > 499) {
      finishFade(p, kFaderBEnd);
      return true;
    }
  } else if (p.mixer.switchPhase == 2) {
    if (!nextPosition(u, -step, n)) return false;
    if (n < -499) {
      finishFade(p, kFaderAEnd);
      return true;
    }
  } else {
    return false;
  }
  setKnob(p, kFaderCentre + 3 * n);
  volcontrol(p);
  return false;
}

void FaderUpdatePosition(Program& p, double x) {
  const double left = p.main.picture("Faderbase").left() + x - knob(p).width() / 2;
  setKnob(p, std::clamp(left, kFaderAEnd, kFaderBEnd));
  volcontrol(p);
}

void faderJump(Program& p, int left) {
  setKnob(p, left);
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
