#include "mixer/channel_strip.h"

#include <algorithm>
#include <cmath>

#include "basic/convert.h"
#include "form/track_point.h"
#include "mixer/volume_law.h"
#include "songlist/song_list.h"

namespace vx::mixer {

namespace {

constexpr double kTrimCentreY = 1440;
constexpr double kStoredTrimMax = 4000;
constexpr double kPanRest[2] = {1620, 8900};
constexpr long kPanSnap = 1270;
constexpr long kHardSide = 10000;

bool validDeck(int deck) { return deck == 0 || deck == 1; }

// x of the pointer's free end that means no cut: 200 twips right of the knob's centre.
double trimZeroX(int deck) { return 4870 + 1280 * deck; }

form::Line& trimLine(const Program& p, int deck) { return p.main.get<form::Line>("TrimLine", deck); }

// Classic conversion of a Single to text: at most seven digits, no blank before it.
std::string singleText(float v) {
  std::string s = basic::StrSingle(v);
  if (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s;
}

void storeTrim(Program& p, int deck, double endX) {
  songlist::SongList(p.main, deck)
      .setSelectedValue(songlist::Trim, singleText(static_cast<float>(-(endX - trimZeroX(deck)) * 10)));
}

form::MouseEvent onTrack(const form::Control& track, const form::Control& knob, const form::MouseEvent& e,
                         bool onKnob) {
  form::MouseEvent t = e;
  auto [x, y] = form::trackPoint(track, knob, e, onKnob);
  t.x = x;
  t.y = y;
  return t;
}

bool left(const form::MouseEvent& e) { return e.button == form::MouseButton::Left; }

}  // namespace

double trimCut(const Program& p, int deck) { return (trimZeroX(deck) - trimLine(p, deck).x2) / 10; }

double channelTravel(const Program& p, int deck) {
  return p.main.picture("Volbtn", deck).top() - kChannelTop;
}

void TrimUpdatePosition(Program& p, int deck, double x, double y) {
  const form::Picture& knob = p.main.picture("Trimbase", deck);
  const double w = knob.width(), h = knob.height();
  const double dx = x - w / 2;
  const double dy = std::min(0.0, y - h / 2);
  const double r = std::sqrt(dx * dx + dy * dy);
  form::Line& line = trimLine(p, deck);
  if (r > 0) {
    const double endX = knob.left() + w / 2 + (h / 4 + 10) * dx / r;
    const double endY = knob.top() + h / 2 + (w / 4 + 10) * dy / r;
    line.set(line.x1, line.y1, endX, endY);
  }
  volcontrol(p);
  storeTrim(p, deck, line.x2);
}

void trimlinedraw(Program& p, int deck) {
  songlist::SongList list(p.main, deck);
  const double stored = std::clamp(basic::Val(list.selectedValue(songlist::Trim)), 0.0, kStoredTrimMax);
  const double v = stored / 10;
  form::Line& line = trimLine(p, deck);
  line.set(line.x1, line.y1, trimZeroX(deck) - v, kTrimCentreY - std::sqrt(40000 - (v - 200) * (v - 200)));
}

void VolUpdatePosition(Program& p, int deck, double, double y) {
  form::Picture& knob = p.main.picture("Volbtn", deck);
  const double top = p.main.picture("Volbase", deck).top() + y - knob.height() / 2;
  knob.setTop(std::clamp(top, kChannelTop, kChannelTop + kChannelTravelMax));
  volcontrol(p);
}

void PanUpdatePosition(Program& p, int deck, double x, double) {
  form::Picture& knob = p.main.picture("panbtn", deck);
  knob.setLeft(p.main.picture("Panbase", deck).left() + x - knob.width() / 2);
  auto& player = p.player(deck);
  try {
    player.setBalance(basic::CLng(knob.left() - kPanRest[deck]));
  } catch (const basic::OverflowError&) {
    return;
  }
  const long balance = player.balance();
  if (balance < -kPanSnap) player.setBalance(-kHardSide);
  if (balance > kPanSnap) player.setBalance(kHardSide);
}

void trimMouseDown(Program& p, int deck, const form::MouseEvent& e) {
  if (!left(e) || !validDeck(deck)) return;
  TrimUpdatePosition(p, deck, e.x, e.y);
  p.mixer.trimDragging = true;
}

void trimMouseMove(Program& p, int deck, const form::MouseEvent& e) {
  if (!left(e) || !validDeck(deck) || !p.mixer.trimDragging) return;
  TrimUpdatePosition(p, deck, e.x, e.y);
}

void trimMouseUp(Program& p) { p.mixer.trimDragging = false; }

void volMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (!left(e) || !validDeck(deck)) return;
  auto t = onTrack(p.main.picture("Volbase", deck), p.main.picture("Volbtn", deck), e, onKnob);
  VolUpdatePosition(p, deck, t.x, t.y);
  p.mixer.volDragging[deck] = true;
}

void volMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (!left(e) || !validDeck(deck) || !p.mixer.volDragging[deck]) return;
  auto t = onTrack(p.main.picture("Volbase", deck), p.main.picture("Volbtn", deck), e, onKnob);
  VolUpdatePosition(p, deck, t.x, t.y);
}

void volMouseUp(Program& p, int deck) {
  if (validDeck(deck)) p.mixer.volDragging[deck] = false;
}

void panMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (!left(e) || !validDeck(deck)) return;
  auto t = onTrack(p.main.picture("Panbase", deck), p.main.picture("panbtn", deck), e, onKnob);
  PanUpdatePosition(p, deck, t.x, t.y);
  p.mixer.panDragging[deck] = true;
}

void panMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (!left(e) || !validDeck(deck) || !p.mixer.panDragging[deck]) return;
  const form::Picture& track = p.main.picture("Panbase", deck);
  auto t = onTrack(track, p.main.picture("panbtn", deck), e, onKnob);
  if (t.x < 0 || t.x > track.width()) return;
  PanUpdatePosition(p, deck, t.x, t.y);
}

void panMouseUp(Program& p, int deck) {
  if (validDeck(deck)) p.mixer.panDragging[deck] = false;
}

}  // namespace vx::mixer
