#include "play/play_wiring.h"

#include "play/automix.h"
#include "play/loading.h"
#include "play/mini_buttons.h"
#include "play/selection.h"
#include "play/switching.h"
#include "play/sync.h"
#include "play/tick.h"

namespace vx::play {

namespace {

void onClick(form::Control& c, void (*action)(Program&), Program& p) {
  c.events.click = [&p, action] { action(p); };
}

void wireLists(Program& p, int deck) {
  p.main.listBox("title1", deck).events.dblClick = [&p, deck] { title1_DblClick(p, deck); };
  p.main.picture("SongNext", deck).events.click = [&p, deck] { SongNext_Click(p, deck); };
  p.main.picture("SongPre", deck).events.click = [&p, deck] { SongPre_Click(p, deck); };
}

}  // namespace

void wirePlay(Program& p) {
  p.main.timer("Timer1").tick = [&p] { Timer1_Timer(p); };
  p.main.picture("switch").events.mouseDown = [&p](const form::MouseEvent&) { switching(p); };
  for (const char* entry : {"autoplay2", "autocrossfadeplay", "random", "countdown"})
    p.main.menu(entry).events.click = [&p, entry] { toggleOption(p, entry); };
  for (int deck = 0; deck < 2; ++deck) wireLists(p, deck);
  onClick(p.main.picture("miniplay"), miniplay_Click, p);
  onClick(p.main.picture("ministop"), ministop_Click, p);
  onClick(p.main.picture("minipre"), minipre_Click, p);
  onClick(p.main.picture("mininext"), mininext_Click, p);
  wireTempo(p);
}

}  // namespace vx::play
