#include "mixer/mixer_wiring.h"

#include "mixer/auto_gain.h"
#include "mixer/channel_strip.h"
#include "mixer/crossfader.h"
#include "mixer/master_volume.h"
#include "mixer/volume_law.h"

namespace vx::mixer {

namespace {

using form::MouseEvent;
using DeckDrag = void (*)(Program&, int, const MouseEvent&, bool);

// A track and its knob share the handlers; `onKnob` tells them which one raised the event.
void wireDeckDrag(Program& p, int deck, form::Control& c, bool onKnob, DeckDrag down, DeckDrag move,
                  void (*up)(Program&, int)) {
  c.events.mouseDown = [&p, deck, onKnob, down](const MouseEvent& e) { down(p, deck, e, onKnob); };
  c.events.mouseMove = [&p, deck, onKnob, move](const MouseEvent& e) { move(p, deck, e, onKnob); };
  c.events.mouseUp = [&p, deck, up](const MouseEvent&) { up(p, deck); };
}

void wireStrip(Program& p, int deck) {
  auto& trim = p.main.picture("Trimbase", deck).events;
  trim.mouseDown = [&p, deck](const MouseEvent& e) { trimMouseDown(p, deck, e); };
  trim.mouseMove = [&p, deck](const MouseEvent& e) { trimMouseMove(p, deck, e); };
  trim.mouseUp = [&p](const MouseEvent&) { trimMouseUp(p); };
  wireDeckDrag(p, deck, p.main.picture("Volbase", deck), false, volMouseDown, volMouseMove, volMouseUp);
  wireDeckDrag(p, deck, p.main.picture("Volbtn", deck), true, volMouseDown, volMouseMove, volMouseUp);
  wireDeckDrag(p, deck, p.main.picture("Panbase", deck), false, panMouseDown, panMouseMove, panMouseUp);
  wireDeckDrag(p, deck, p.main.picture("panbtn", deck), true, panMouseDown, panMouseMove, panMouseUp);
}

// Knob 0 is the monitor's level, knob 1 the master level.
void wireLevels(Program& p, int i) {
  wireDeckDrag(p, i, p.main.picture("masterbase", i), false, masterMouseDown, masterMouseMove, masterMouseUp);
  wireDeckDrag(p, i, p.main.picture("masterbtn", i), true, masterMouseDown, masterMouseMove, masterMouseUp);
}

void wireCrossfader(Program& p) {
  for (const bool onKnob : {false, true}) {
    auto& events = p.main.picture(onKnob ? "Faderbtn" : "Faderbase").events;
    events.mouseDown = [&p, onKnob](const MouseEvent& e) { faderMouseDown(p, e, onKnob); };
    events.mouseMove = [&p, onKnob](const MouseEvent& e) { faderMouseMove(p, e, onKnob); };
    events.mouseUp = [&p](const MouseEvent&) { faderMouseUp(p); };
  }
  // The ends move on the press, the centre on the click, as the buttons' pictures show.
  p.main.picture("Lvol").events.mouseDown = [&p](const MouseEvent&) { faderJump(p, kFaderAEnd); };
  p.main.picture("volR").events.mouseDown = [&p](const MouseEvent&) { faderJump(p, kFaderBEnd); };
  p.main.picture("center").events.click = [&p] { faderJump(p, kFaderCentre); };
  for (int n = 0; n < 4; ++n) p.main.picture("FDpaturn", n).events.click = [&p, n] { FDpaturn_Click(p, n); };
}

}  // namespace

void wireMixer(Program& p) {
  for (int deck = 0; deck < 2; ++deck) wireStrip(p, deck);
  for (int i = 0; i < 2; ++i) wireLevels(p, i);
  wireCrossfader(p);
  p.main.menu("autogain").events.click = [&p] { toggleAutoGain(p); };
}

}  // namespace vx::mixer
