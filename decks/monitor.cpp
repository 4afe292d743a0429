#include "decks/monitor.h"

#include <cmath>

#include "basic/convert.h"

namespace vx::decks {

void vbmp3play(Program& p) {
  if (!p.monitor.monitorOn || !p.ports.monitor) return;
  long state = 0;
  p.monitor.monitorState = p.ports.monitor->getState(state);
  if (p.monitor.monitorState == 2)
    p.ports.monitor->restart();
  else
    p.ports.monitor->play();
}

int monitorOpen(Program& p, const std::string& path) {
  if (!p.ports.monitor) return 0;
  platform::MonitorInfo info;
  int result = p.ports.monitor->open(path, info);
  p.monitor.monitorSampleRate = info.sampleRate;
  return result;
}

void monitorSeekSeconds(Program& p, double seconds) {
  if (!p.monitor.monitorOn || !p.ports.monitor) return;
  try {
    p.ports.monitor->setPlaySamples(basic::CLng(seconds * static_cast<double>(p.monitor.monitorSampleRate)));
  } catch (const basic::OverflowError&) {
    // A position beyond the sample counter's range is skipped like any failing statement.
  }
}

void monitorSetPitch(Program& p, double rate) {
  if (!p.monitor.monitorOn || !p.ports.monitor) return;
  // A rate beyond what the library's pitch can hold leaves the monitor's pitch as it was.
  if (!std::isfinite(rate) || std::abs(rate * 100) > 2147483647.0) return;
  p.ports.monitor->setRate(rate);
  monitorFollowsKeyLock(p);
}

void monitorFollowsKeyLock(Program& p) {
  if (!p.monitor.monitorOn || !p.ports.monitor) return;
  const int deck = p.monitor.monitorDeck;
  if (deck < 0 || deck > 1 || !p.ports.player[deck]) return;
  if (p.ports.monitor->keyLock() != p.player(deck).keyLock()) p.ports.monitor->setKeyLock(p.player(deck).keyLock());
}

}  // namespace vx::decks
