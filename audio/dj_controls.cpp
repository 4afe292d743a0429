#include "audio/dj_controls.h"

#include <algorithm>
#include <cmath>

#include "audio/engine/mixer.h"

namespace vx::audio {
namespace {

bool validDeck(int deck) { return deck == 0 || deck == 1; }
bool validBand(int band) { return band >= 0 && band <= 2; }

}  // namespace

DjControls::DjControls(Mixer& main, Mixer& phones, CueFeed& feed, Routing routing)
    : main_(main), phones_(phones), feed_(feed), routing_(std::move(routing)) {}

void DjControls::setEq(int deck, int band, int tenthsDb) {
  if (!validDeck(deck) || !validBand(band)) return;
  decks_[deck].eq[band] = std::clamp(tenthsDb, -260, 60);
  sendBand(deck, band);
}

void DjControls::setKill(int deck, int band, bool kill) {
  if (!validDeck(deck) || !validBand(band)) return;
  decks_[deck].kill[band] = kill;
  sendBand(deck, band);
}

void DjControls::setFilter(int deck, int position) {
  if (!validDeck(deck)) return;
  decks_[deck].filter = std::clamp(position, -100, 100);
  sendFilter(deck);
}

void DjControls::setMonitorDeck(int deck) {
  if (!validDeck(deck) || deck == monitorDeck_) return;
  monitorDeck_ = deck;
  for (int band = 0; band < 3; ++band) sendBand(deck, band);
  sendFilter(deck);
}

void DjControls::sendBand(int deck, int band) {
  const Channel& c = decks_[deck];
  Command command;
  command.kind = Command::SetEqBand;
  command.frame = band;
  // 0 dB is exactly 1, so a flat band lets the equaliser step out of the way.
  command.value = c.kill[band] ? 0.0 : std::pow(10.0, c.eq[band] / 200.0);
  command.voice = deck;
  main_.post(command);
  if (deck != monitorDeck_) return;
  command.voice = 0;
  phones_.post(command);
}

void DjControls::sendFilter(int deck) {
  Command command;
  command.kind = Command::SetFilter;
  command.value = decks_[deck].filter / 100.0;
  command.voice = deck;
  main_.post(command);
  if (deck != monitorDeck_) return;
  command.voice = 0;
  phones_.post(command);
}

void DjControls::setCueMix(int percent) {
  cueMix_ = std::clamp(percent, 0, 100);
  sendCue();
}

void DjControls::setSplitCue(bool on) {
  split_ = on;
  sendCue();
}

void DjControls::sendCue() {
  // On one shared device the two outputs sound together: while split, each plays one ear; else
  // the headphones are the room, and blending the master in would only double it.
  const bool shared = routing_.sharedDevice && routing_.sharedDevice();
  Command phones, main;
  phones.kind = main.kind = Command::SetCue;
  main.frame = split_ && shared ? Mixer::SplitRight : Mixer::Stereo;
  phones.frame = !split_ ? Mixer::Stereo : shared ? Mixer::SplitLeft : Mixer::SplitWithFeed;
  phones.value = split_ || shared ? 0.0 : cueMix_ / 100.0;
  const bool fed = !shared && (split_ || cueMix_ > 0);
  main_.setFeedOut(fed ? &feed_ : nullptr);
  phones_.setFeedIn(fed ? &feed_ : nullptr);
  main_.post(main);
  phones_.post(phones);
  main_.wakeIfSounding();
  phones_.wakeIfSounding();
}

platform::MeterReading DjControls::meter(int channel) const {
  if (channel < 0 || channel > kMasterMeter || (routing_.resting && routing_.resting())) return {};
  const dsp::LevelMeter& m = channel == kMasterMeter ? main_.masterMeter() : main_.voice(channel).meter();
  return {m.peak(), m.clipped()};
}

}  // namespace vx::audio
