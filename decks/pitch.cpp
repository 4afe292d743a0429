#include "decks/pitch.h"

#include "basic/convert.h"
#include "decks/monitor.h"
#include "form/track_point.h"
#include "songlist/song_list.h"

namespace vx::decks {

namespace {

constexpr double kRateSpan = 4500;     // knob twips per unit of rate
constexpr double kTempoCodeSpan = 3000;  // knob twips per 100 of the stored tempo code
constexpr int kPitchLockTicks = 8;

form::Picture& knob(Program& p, int deck) { return p.main.picture("pitchbtn", deck); }
form::Picture& track(Program& p, int deck) { return p.main.picture("pitchbase", deck); }

// The monitored deck's monitor takes the new pitch and, while the deck plays, is started and
// realigned with it.
void monitorFollowsPitch(Program& p, int deck, double rate) {
  if (p.monitor.monitorDeck != deck || !p.monitor.monitorOn || !p.ports.monitor) return;
  monitorSetPitch(p, rate);
  if (p.player(deck).playState() != platform::Playing) return;
  p.ports.monitor->play();
  monitorSeekSeconds(p, p.player(deck).currentPosition());
}

std::string percentText(double knobTop) {
  double q = basic::Int((knobTop - kPitchCentre) / 4.5) / 10;
  return (q > 0 ? "+" : "") + basic::Format(q, "00.0") + "%";
}

void storeTempoCode(Program& p, int deck, double knobTop) {
  auto code = static_cast<float>(((knobTop - kPitchCentre) / kTempoCodeSpan + 1) * 100);
  songlist::SongList(p.main, deck).setSelectedValue(songlist::Tempo, basic::StrSingle(code));
}

}  // namespace

double knobRate(double knobTop) { return static_cast<float>((knobTop - kPitchCentre) / kRateSpan + 1); }

void applyPitch(Program& p, int deck) {
  if (p.pitchLockTicks >= 1) return;
  double top = knob(p, deck).top();
  double rate = knobRate(top);
  auto& player = p.player(deck);
  player.setRate(rate);
  monitorFollowsPitch(p, deck, rate);
  // The position is corrected by the difference between the rate asked for and the rate the
  // player reports: nothing moves when it took the rate as asked.
  double position = player.currentPosition();
  player.setCurrentPosition(position + 2.3 * (rate - player.rate()));
  p.main.label("Pitchper", deck).setCaption(percentText(top));
  storeTempoCode(p, deck, top);
  p.pitchLockTicks = kPitchLockTicks;
}

void PitchUpdatePosition(Program& p, int deck, double y) {
  knob(p, deck).setTop(track(p, deck).top() + y - knob(p, deck).height() / 2);
  applyPitch(p, deck);
}

void pitchReset(Program& p, int deck) {
  knob(p, deck).setTop(kPitchCentre);
  applyPitch(p, deck);
}

void pitchMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left) return;
  PitchUpdatePosition(p, deck, form::trackPoint(track(p, deck), knob(p, deck), e, onKnob).y);
  p.deck[deck].pitchDragging = true;
}

void pitchMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left || !p.deck[deck].pitchDragging) return;
  auto& t = track(p, deck);
  auto [x, y] = form::trackPoint(t, knob(p, deck), e, onKnob);
  if (x < 0 || x > t.width() || y < 0 || y > t.height()) return;
  PitchUpdatePosition(p, deck, y);
}

void pitchMouseUp(Program& p, int deck) { p.deck[deck].pitchDragging = false; }

}  // namespace vx::decks
