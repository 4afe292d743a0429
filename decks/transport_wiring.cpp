#include "decks/transport_wiring.h"

#include "decks/open_music.h"
#include "decks/transport.h"

namespace vx::decks {

namespace {

using Handler = void (*)(Program&, int);

std::function<void(const form::MouseEvent&)> onMouse(Program& p, int deck, Handler h) {
  return [&p, deck, h](const form::MouseEvent&) { h(p, deck); };
}

std::function<void()> onClick(Program& p, int deck, Handler h) {
  return [&p, deck, h]() { h(p, deck); };
}

void wireDeck(Program& p, int deck) {
  auto& play = p.main.picture("Pause", deck).events;
  play.mouseDown = onMouse(p, deck, Pause_MouseDown);
  play.mouseUp = onMouse(p, deck, Pause_MouseUp);
  auto& cue = p.main.picture("Play", deck).events;
  cue.mouseDown = onMouse(p, deck, Play_MouseDown);
  cue.mouseUp = onMouse(p, deck, Play_MouseUp);
  auto& stop = p.main.picture("Stop", deck).events;
  stop.mouseDown = onMouse(p, deck, Stop_MouseDown);
  stop.mouseUp = onMouse(p, deck, Stop_MouseUp);
  stop.click = onClick(p, deck, Stop_Click);
  p.main.label("modelabel", deck).events.click = onClick(p, deck, modelabel_Click);

  form::Picture& add = p.main.picture("Imgadd", deck);
  add.events.mouseDown = [&add](const form::MouseEvent&) { add.setPicture("add2.bmp"); };
  add.events.mouseUp = [&add](const form::MouseEvent&) { add.setPicture("add1.bmp"); };
  add.events.click = onClick(p, deck, openmusic);
  p.main.label("text2", deck).events.click = onClick(p, deck, openmusic);
}

}  // namespace

void wireTransport(Program& p) {
  wireDeck(p, 0);
  wireDeck(p, 1);
  p.main.menu("openplayera").events.click = onClick(p, 0, openmusic);
  p.main.menu("openplayerb").events.click = onClick(p, 1, openmusic);
}

}  // namespace vx::decks
