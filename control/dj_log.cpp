#include "control/dj_log.h"

namespace vx::control {

void DjLog::setEq(int deck, int band, int tenthsDb) {
  if (valid(deck, band)) decks_[deck].eq[band] = tenthsDb;
  if (mixer_) mixer_->setEq(deck, band, tenthsDb);
}

void DjLog::setKill(int deck, int band, bool kill) {
  if (valid(deck, band)) decks_[deck].kill[band] = kill;
  if (mixer_) mixer_->setKill(deck, band, kill);
}

void DjLog::setFilter(int deck, int position) {
  if (valid(deck, 0)) decks_[deck].filter = position;
  if (mixer_) mixer_->setFilter(deck, position);
}

void DjLog::setMonitorDeck(int deck) {
  monitorDeck_ = deck;
  if (mixer_) mixer_->setMonitorDeck(deck);
}

void DjLog::setCueMix(int percent) {
  cueMix_ = percent;
  if (mixer_) mixer_->setCueMix(percent);
}

void DjLog::setSplitCue(bool on) {
  split_ = on;
  if (mixer_) mixer_->setSplitCue(on);
}

platform::MeterReading DjLog::meter(int channel) const { return mixer_ ? mixer_->meter(channel) : platform::MeterReading{}; }

std::string DjLog::settings() const {
  std::string out;
  for (int deck = 0; deck < 2; ++deck) {
    const Deck& d = decks_[deck];
    out += deck == 0 ? "A eq" : " | B eq";
    for (int v : d.eq) out += " " + std::to_string(v);
    out += " kill";
    for (bool k : d.kill) out += k ? " 1" : " 0";
    out += " filter " + std::to_string(d.filter);
  }
  out += " | monitor " + std::to_string(monitorDeck_) + " cuemix " + std::to_string(cueMix_) + " split " + (split_ ? "1" : "0");
  return out;
}

}  // namespace vx::control
