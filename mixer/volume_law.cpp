#include "mixer/volume_law.h"

#include <algorithm>

#include "basic/convert.h"
#include "mixer/channel_strip.h"

namespace vx::mixer {

namespace {

constexpr long kSilence = -10000;

// Curve point k of pattern `pattern`; an unknown pattern has no curve.
bool curveOf(const Program& p, std::array<int, 4>& curve) {
  const int pattern = p.mixer.faderPattern;
  if (pattern < 0 || pattern > 2) return false;
  for (int k = 0; k < 4; ++k) curve[k] = p.settings.faderCurve[pattern + 3 * k];
  return true;
}

// The stronger of the channel fader's and the crossfader's squared attenuation.
float stronger(float d, double h) { return -(h * h) > -(d * d) ? d * d : static_cast<float>(h * h); }

long roundVolume(double v) {
  try {
    return basic::CLng(v);
  } catch (const basic::OverflowError&) {
    return kSilence;
  }
}

double crossfaderVolumeA(float u, const std::array<int, 4>& c, int t, float fixedCut, float d) {
  if (u + 499 < c[0]) return fixedCut - d * d;
  if (u + 1 > c[1]) return kSilence;
  const double r = static_cast<double>(t) / (c[1] - c[0] + 500);
  const double h = basic::Int((u + 500 - c[0]) * r);
  return fixedCut - stronger(d, h);
}

double crossfaderVolumeB(float u, const std::array<int, 4>& c, int t, float fixedCut, float d) {
  if (u + 499 < c[2]) return kSilence;
  if (u > c[3]) return fixedCut - d * d;
  const double r = static_cast<double>(t) / (c[3] - c[2] + 500);
  const double h = basic::Int(t - (u + 500 - c[2]) * r);
  return fixedCut - stronger(d, h);
}

}  // namespace

float faderPosition(const Program& p) {
  return static_cast<float>((p.main.picture("Faderbtn").left() - kFaderCentre) / 3);
}

DeckLevel deckLevel(int deck, float u, const std::array<int, 4>& curve, double cut, double travel) {
  DeckLevel level{100, kSilence};
  try {
    level.trimLevel = basic::CInt(100 - cut);
  } catch (const basic::OverflowError&) {
    return level;
  }
  float fixedCut = 0;
  try {
    fixedCut = basic::CInt(-(cut * cut));
  } catch (const basic::OverflowError&) {
    fixedCut = -1600;  // a cut beyond the knob's range counts as the full cut
  }
  const float d = static_cast<float>(travel / 1500 * level.trimLevel);
  const double v = deck == 0 ? crossfaderVolumeA(u, curve, level.trimLevel, fixedCut, d)
                             : crossfaderVolumeB(u, curve, level.trimLevel, fixedCut, d);
  level.volume = roundVolume(v);
  if (travel == kChannelTravelMax) level.volume = kSilence;
  return level;
}

void volcontrol(Program& p) {
  std::array<int, 4> curve{};
  if (!curveOf(p, curve)) return;
  const float u = faderPosition(p);
  for (int deck = 0; deck < 2; ++deck) {
    DeckLevel level = deckLevel(deck, u, curve, trimCut(p, deck), channelTravel(p, deck));
    p.mixer.trimLevel[deck] = level.trimLevel;
    if (p.ports.player[deck]) p.player(deck).setVolume(level.volume);
  }
}

}  // namespace vx::mixer
