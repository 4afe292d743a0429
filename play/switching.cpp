#include "play/switching.h"

#include "basic/convert.h"
#include "decks/monitor.h"
#include "decks/transport.h"
#include "mixer/crossfader.h"
#include "mixer/volume_law.h"

namespace vx::play {

namespace {

void finishFade(Program& p, double left) {
  p.mixer.switchPhase = 0;
  mixer::placeFaderKnob(p, left);
  p.mixer.switchBusy = false;
  mixer::volcontrol(p);
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

int switchTarget(const Program& p) { return mixer::faderPosition(p) < 0 ? 1 : 0; }

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

void switching(Program& p) {
  if (p.mixer.switchPhase != 0) {
    p.mixer.switchPhase = 0;
    return;
  }
  const int target = switchTarget(p);
  if (p.settings.playOnSwitch) startTarget(p, target);
  if (p.mixer.cutInMode) {
    mixer::placeFaderKnob(p, target == 1 ? mixer::kFaderBEnd : mixer::kFaderAEnd);
    mixer::volcontrol(p);
    return;
  }
  p.mixer.switchPhase = target == 1 ? 1 : 2;
  p.mixer.switchBusy = true;
}

bool fadeStep(Program& p) {
  const float u = mixer::faderPosition(p);
  const int step = mixer::fadeStepSize(p);
  int n = 0;
  if (p.mixer.switchPhase == 1) {
    if (!nextPosition(u, step, n)) return false;
    if (n > 499) {
      finishFade(p, mixer::kFaderBEnd);
      return true;
    }
  } else if (p.mixer.switchPhase == 2) {
    if (!nextPosition(u, -step, n)) return false;
    if (n < -499) {
      finishFade(p, mixer::kFaderAEnd);
      return true;
    }
  } else {
    return false;
  }
  mixer::placeFaderKnob(p, mixer::kFaderCentre + 3 * n);
  mixer::volcontrol(p);
  return false;
}

}  // namespace vx::play
