#include "mixer/master_volume.h"

#include <algorithm>

#include "basic/convert.h"
#include "form/track_point.h"

namespace vx::mixer {

namespace {

constexpr double kKnobTop = 3840;
constexpr double kKnobBottom = 4840;
constexpr double kTwipsPerLevelStep = 4294967;  // 2^32 / 1000: a 32-bit level over the knob travel

bool validKnob(int i) { return i == kMonitorKnob || i == kMasterKnob; }

form::Picture& knob(Program& p, int i) { return p.main.picture("masterbtn", i); }

int knobLevel(Program& p, int i) {
  try {
    return basic::CLng(100 - (knob(p, i).top() - kKnobTop) / 10);
  } catch (const basic::OverflowError&) {
    return 100;
  }
}

}  // namespace

uint16_t masterChannelValue(int level) {
  level = std::clamp(level, 0, 100);
  if (level == 100) return 0xFFFF;
  if (level <= 49) return static_cast<uint16_t>(655 * level);
  return static_cast<uint16_t>(655 * (level - 100));  // two's complement: 65536 - 655 * (100 - level)
}

void initMasterKnob(Program& p) {
  if (!p.ports.waveOut) return;
  const auto v = static_cast<int64_t>(static_cast<int32_t>(p.ports.waveOut->getVolume()));
  const double top = v < 0 ? kKnobTop + static_cast<double>(-v) / kTwipsPerLevelStep
                            : kKnobBottom - static_cast<double>(v) / kTwipsPerLevelStep;
  knob(p, kMasterKnob).setTop(top);
}

void masvol2(Program& p, int i) {
  if (!validKnob(i)) return;
  const int level = knobLevel(p, i);
  if (i == kMonitorKnob) {
    if (p.ports.monitor) p.ports.monitor->setVolume(level, level);
    return;
  }
  if (!p.ports.waveOut) return;
  const uint32_t c = masterChannelValue(level);
  p.ports.waveOut->setVolume(c + 65536u * c);
}

void masterUpdatePosition(Program& p, int i, double, double y) {
  if (!validKnob(i)) return;
  const double top = p.main.picture("masterbase", i).top() + y - knob(p, i).height() / 2;
  knob(p, i).setTop(std::clamp(top, kKnobTop, kKnobBottom));
  masvol2(p, i);
}

void masterMouseDown(Program& p, int i, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left || !validKnob(i)) return;
  auto [x, y] = form::trackPoint(p.main.picture("masterbase", i), knob(p, i), e, onKnob);
  masterUpdatePosition(p, i, x, y);
  p.mixer.masterDragging[i] = true;
}

void masterMouseMove(Program& p, int i, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left || !validKnob(i) || !p.mixer.masterDragging[i]) return;
  auto [x, y] = form::trackPoint(p.main.picture("masterbase", i), knob(p, i), e, onKnob);
  masterUpdatePosition(p, i, x, y);
}

void masterMouseUp(Program& p, int i) {
  if (validKnob(i)) p.mixer.masterDragging[i] = false;
}

}  // namespace vx::mixer
