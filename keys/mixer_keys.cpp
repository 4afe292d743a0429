#include "keys/mixer_keys.h"

#include <algorithm>

#include "basic/convert.h"
#include "decks/pitch.h"
#include "keys/key_codes.h"
#include "mixer/crossfader.h"
#include "mixer/master_volume.h"
#include "mixer/volume_law.h"
#include "sampler/sampler.h"

namespace vx::keys {

namespace {

// Knob limits in twips.
constexpr double kVolTop = 1830, kVolBottom = 3330, kVolStep = 150;
constexpr double kPitchTop = 1500, kPitchBottom = 3300, kPitchStep = 6;
constexpr double kPanStep = 30, kPanOrigin = 1620, kPanDeckOffset = 7280;
constexpr long kBalanceLimit = 10000;
constexpr int kFaderA = 3630, kFaderCentre = 5130, kFaderB = 6630, kFaderStep = 150;
constexpr double kLevelTop = 3840, kLevelBottom = 4840, kLevelStep = 100;
constexpr int kMonitorKnob = 0, kMasterKnob = 1;

void channelFader(Program& p, double step) {
  form::Picture& knob = p.main.picture("Volbtn", p.keys.focusDeck);
  knob.setTop(std::clamp(knob.top() + step, kVolTop, kVolBottom));
  mixer::volcontrol(p);
}

void pitchKnob(Program& p, double step) {
  const int f = p.keys.focusDeck;
  form::Picture& knob = p.main.picture("pitchbtn", f);
  knob.setTop(std::clamp(knob.top() + step, kPitchTop, kPitchBottom));
  decks::applyPitch(p, f);
}

// The knob itself has no limit; the balance the player takes does.
void panKnob(Program& p, double step) {
  const int f = p.keys.focusDeck;
  form::Picture& knob = p.main.picture("panbtn", f);
  knob.setLeft(knob.left() + step);
  const double balance = std::clamp(knob.left() - kPanOrigin - kPanDeckOffset * f, double(-kBalanceLimit), double(kBalanceLimit));
  p.player(f).setBalance(basic::CLng(balance));
}

// A step toward one end stops at that end; the other side is not limited.
void faderStep(Program& p, int step) {
  const int w = basic::CInt(p.main.picture("Faderbtn").left() + step);
  mixer::faderJump(p, step > 0 ? std::min(w, kFaderB) : std::max(w, kFaderA));
}

void levelKnob(Program& p, int knob, double step) {
  form::Picture& k = p.main.picture("masterbtn", knob);
  k.setTop(std::clamp(k.top() + step, kLevelTop, kLevelBottom));
  mixer::masvol2(p, knob);
}

void sampleKey(Program& p, int slot) {
  bool& held = p.keys.sampleKeyHeld[static_cast<size_t>(slot)];
  if (held) return;
  sampler::cmdPlay_Click(p, slot);
  held = true;
}

}  // namespace

int sampleSlotOfKey(int keyCode) {
  if (keyCode >= vk::Digit1 && keyCode <= vk::Digit8) return keyCode - vk::Digit1;
  if (keyCode >= vk::Numpad1 && keyCode <= vk::Numpad8) return keyCode - vk::Numpad1;
  return -1;
}

void pressedKey(Program& p, int keyCode) {
  if (const int slot = sampleSlotOfKey(keyCode); slot >= 0) sampleKey(p, slot);
  switch (keyCode) {
    case 'F': mixer::FDpaturn_Click(p, 0); break;
    case 'G': mixer::FDpaturn_Click(p, 1); break;
    case 'H': mixer::FDpaturn_Click(p, 2); break;
    case 'J': mixer::FDpaturn_Click(p, 3); break;
    case 'Q': channelFader(p, kVolStep); break;
    case 'W': channelFader(p, -kVolStep); break;
    case 'A': pitchKnob(p, -kPitchStep); break;
    case 'S': pitchKnob(p, kPitchStep); break;
    case 'Z': panKnob(p, -kPanStep); break;
    case 'X': panKnob(p, kPanStep); break;
    case 'C': mixer::faderJump(p, kFaderA); break;
    case 'M': mixer::faderJump(p, kFaderB); break;
    case 'B': mixer::faderJump(p, kFaderCentre); break;
    case 'N': faderStep(p, kFaderStep); break;
    case 'V': faderStep(p, -kFaderStep); break;
    case vk::OemSlash: levelKnob(p, kMasterKnob, kLevelStep); break;
    case vk::OemBackslash: levelKnob(p, kMasterKnob, -kLevelStep); break;
    case vk::OemSemicolon: levelKnob(p, kMonitorKnob, kLevelStep); break;
    case vk::OemBracketRight: levelKnob(p, kMonitorKnob, -kLevelStep); break;
    default: break;
  }
}

}  // namespace vx::keys
