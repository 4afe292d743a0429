#include "djpanel/dj_panel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "djpanel/knob_drag.h"
#include "ui/skin_catalogue.h"

namespace vx::djpanel {

namespace {

constexpr int kCueMixCentre = 50;
constexpr double kDbPerSegment = 3;

platform::DjMixer* port(Program& p) { return p.ports.dj; }

std::string lampPicture(const std::string& stem, bool lit) { return stem + (lit ? "2.bmp" : "1.bmp"); }

void showKill(Program& p, int deck, int band) {
  const std::string stem = std::string("kill") + kBandName[band];
  p.main.picture(stem, deck).setPicture(lampPicture(stem, p.dj.kill[deck][band]));
}

void sendEq(Program& p, int deck, int band) {
  const auto& knob = p.main.get<form::Knob>(std::string("eq") + kBandName[band], deck);
  if (port(p)) port(p)->setEq(deck, band, knob.value());
}

void sendFilter(Program& p, int deck) {
  if (port(p)) port(p)->setFilter(deck, p.main.get<form::Knob>("filter", deck).value());
}

void sendCueMix(Program& p) {
  const int percent = p.main.get<form::Knob>("cuemix").value();
  p.plus.setNumber("panel", "cuemix", percent);
  if (port(p)) port(p)->setCueMix(percent);
}

void followMonitor(Program& p) {
  if (p.dj.monitorDeck == p.monitor.monitorDeck) return;
  p.dj.monitorDeck = p.monitor.monitorDeck;
  if (port(p)) port(p)->setMonitorDeck(p.monitor.monitorDeck);
}

// The knob shows its angle and its setting goes to the port on every change.
void wireKnob(form::Knob& knob, int low, int centre, int high, std::function<void()> send) {
  knob.setRange(low, centre, high);
  wireKnobDrag(knob);
  knob.events.change = [&knob, send = std::move(send)] {
    showKnob(knob);
    send();
  };
  showKnob(knob);
}

bool anyDeckPlays(Program& p) {
  for (int deck = 0; deck < 2; ++deck)
    if (p.ports.player[deck] && p.player(deck).playState() == platform::Playing) return true;
  return false;
}

bool metersRest(const Program& p) {
  for (int c = 0; c < 3; ++c)
    if (p.dj.meterLit[c] != 0 || p.dj.clipLit[c]) return false;
  return true;
}

void showMeter(Program& p, int channel, const platform::MeterReading& reading) {
  const int lit = litSegments(reading.peak);
  if (lit != p.dj.meterLit[channel]) {
    p.dj.meterLit[channel] = lit;
    p.main.picture("meter", channel).setPicture(ui::meterPicture(lit));
  }
  if (reading.clip != p.dj.clipLit[channel]) {
    p.dj.clipLit[channel] = reading.clip;
    p.main.picture("clip", channel).setPicture(lampPicture("clip", reading.clip));
  }
}

}  // namespace

int litSegments(float peak) {
  if (!(peak > 0)) return 0;
  const double db = 20 * std::log10(peak);
  const double lit = std::floor((db + kDbPerSegment * ui::kMeterSegments) / kDbPerSegment + 1e-9);
  return static_cast<int>(std::clamp(lit, 0.0, double(ui::kMeterSegments)));
}

void readPanelSettings(Program& p) {
  p.window.djPanelShown = p.plus.flag("panel", "shown", false);
  p.dj.split = p.plus.flag("panel", "split", false);
  auto& cue = p.main.get<form::Knob>("cuemix");
  cue.setRange(0, kCueMixCentre, 100);
  cue.setValue(static_cast<int>(p.plus.number("panel", "cuemix", 0, 0, 100)));
  showKnob(cue);
  p.main.picture("splitcue").setPicture(lampPicture("split", p.dj.split));
  if (port(p)) {
    port(p)->setCueMix(cue.value());
    port(p)->setSplitCue(p.dj.split);
  }
  followMonitor(p);
}

void toggleKill(Program& p, int deck, int band) {
  bool& kill = p.dj.kill[deck][band];
  kill = !kill;
  showKill(p, deck, band);
  if (port(p)) port(p)->setKill(deck, band, kill);
}

void toggleSplit(Program& p) {
  p.dj.split = !p.dj.split;
  p.plus.setFlag("panel", "split", p.dj.split);
  p.main.picture("splitcue").setPicture(lampPicture("split", p.dj.split));
  if (port(p)) port(p)->setSplitCue(p.dj.split);
}

void wireDjPanel(Program& p) {
  for (int deck = 0; deck < 2; ++deck) {
    for (int band = 0; band < 3; ++band) {
      const std::string name = kBandName[band];
      wireKnob(p.main.get<form::Knob>("eq" + name, deck), -260, 0, 60, [&p, deck, band] { sendEq(p, deck, band); });
      p.main.picture("kill" + name, deck).events.click = [&p, deck, band] { toggleKill(p, deck, band); };
    }
    wireKnob(p.main.get<form::Knob>("filter", deck), -100, 0, 100, [&p, deck] { sendFilter(p, deck); });
  }
  auto& cue = p.main.get<form::Knob>("cuemix");
  wireKnob(cue, 0, kCueMixCentre, 100, [&p] { sendCueMix(p); });
  p.main.picture("splitcue").events.click = [&p] { toggleSplit(p); };
}

void djTick(Program& p) {
  followMonitor(p);
  if (!port(p) || !p.window.djPanelShown || p.window.barMode || p.window.miniMode) return;
  if (!anyDeckPlays(p) && metersRest(p)) return;
  for (int c = 0; c < 3; ++c) showMeter(p, c, port(p)->meter(c));
}

}  // namespace vx::djpanel
