#include "decks/deck_controls_wiring.h"

#include "decks/jog.h"
#include "decks/monitor_select.h"
#include "decks/overview.h"
#include "decks/pitch.h"
#include "decks/search.h"

namespace vx::decks {

namespace {

using form::MouseEvent;
using MouseHandler = void (*)(Program&, int, const MouseEvent&, bool);

// The same three handlers serve a slider's track and its knob; `onKnob` tells them which.
void wireDrag(Program& p, int deck, form::Control& c, bool onKnob, MouseHandler down, MouseHandler move,
              void (*up)(Program&, int)) {
  c.events.mouseDown = [&p, deck, onKnob, down](const MouseEvent& e) { down(p, deck, e, onKnob); };
  c.events.mouseMove = [&p, deck, onKnob, move](const MouseEvent& e) { move(p, deck, e, onKnob); };
  c.events.mouseUp = [&p, deck, up](const MouseEvent&) { up(p, deck); };
}

void wireSearch(Program& p, int deck, const char* name, bool back) {
  auto& events = p.main.picture(name, deck).events;
  events.mouseDown = [&p, deck, back](const MouseEvent&) { searchMouseDown(p, deck, back); };
  events.mouseUp = [&p, deck, back](const MouseEvent&) { searchMouseUp(p, deck, back); };
}

void wireDeck(Program& p, int deck) {
  wireDrag(p, deck, p.main.picture("pitchbase", deck), false, pitchMouseDown, pitchMouseMove, pitchMouseUp);
  wireDrag(p, deck, p.main.picture("pitchbtn", deck), true, pitchMouseDown, pitchMouseMove, pitchMouseUp);
  wireDrag(p, deck, p.main.picture("jogbase", deck), false, jogMouseDown, jogMouseMove, jogMouseUp);
  wireDrag(p, deck, p.main.picture("jogbtn", deck), true, jogMouseDown, jogMouseMove, jogMouseUp);
  wireSearch(p, deck, "searchL", true);
  wireSearch(p, deck, "searchR", false);
  p.main.get<form::Overview>("overview", deck).events.mouseDown = [&p, deck](const MouseEvent& e) {
    overviewMouseDown(p, deck, e);
  };
  p.main.label("def", deck).events.click = [&p, deck] { pitchReset(p, deck); };
  p.main.picture("Imgmonitor", deck).events.click = [&p, deck] { Imgmonitor_Click(p, deck); };
}

}  // namespace

void wireDeckControls(Program& p) {
  for (int deck = 0; deck < 2; ++deck) wireDeck(p, deck);
}

}  // namespace vx::decks
