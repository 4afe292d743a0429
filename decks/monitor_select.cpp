#include "decks/monitor_select.h"

#include "decks/monitor.h"
#include "decks/pitch.h"

namespace vx::decks {

namespace {

void showMonitoredDeck(Program& p, int deck) {
  p.main.picture("Imgmonitor", 0).setPicture(deck == 0 ? "ch12.bmp" : "ch11.bmp");
  p.main.picture("Imgmonitor", 1).setPicture(deck == 1 ? "ch22.bmp" : "ch21.bmp");
}

}  // namespace

void Imgmonitor_Click(Program& p, int deck) {
  if (!p.monitor.monitorOn) return;
  p.monitor.monitorDeck = deck;
  // The monitor plays the deck's song a second time: the file the deck holds, which after a list
  // file was loaded or the selection moved need not be the selected entry.
  monitorOpen(p, p.player(deck).fileName());
  auto& player = p.player(deck);
  double rate = knobRate(p.main.picture("pitchbtn", deck).top());
  player.setRate(rate);
  monitorSetPitch(p, rate);
  if (player.playState() == platform::Playing && p.ports.monitor) {
    p.ports.monitor->play();
    monitorSeekSeconds(p, player.currentPosition() + p.settings.gapTime / 100.0);
  }
  showMonitoredDeck(p, deck);
}

}  // namespace vx::decks
