#include "cues/cues_wiring.h"

#include "cues/hot_cues.h"
#include "cues/loops.h"

namespace vx::cues {

void wireCues(Program& p) {
  for (int pad = 0; pad < 2 * kHotCues; ++pad) {
    p.main.picture("hotcue", pad).events.mouseDown = [&p, pad](const form::MouseEvent& e) {
      hotCuePress(p, pad, e.button == form::MouseButton::Right || (e.shift & form::ShiftKey) != 0);
    };
  }
  for (int deck = 0; deck < 2; ++deck) {
    p.main.picture("loopin", deck).events.click = [&p, deck] { loopIn(p, deck); };
    p.main.picture("loopout", deck).events.click = [&p, deck] { loopOut(p, deck); };
    p.main.picture("loopexit", deck).events.click = [&p, deck] { exitLoop(p, deck); };
    p.main.picture("loophalf", deck).events.click = [&p, deck] { halveLoop(p, deck); };
    p.main.picture("loopdouble", deck).events.click = [&p, deck] { doubleLoop(p, deck); };
  }
  for (int button = 0; button < 10; ++button)
    p.main.picture("beatloop", button).events.click = [&p, button] { beatLoop(p, button); };
}

}  // namespace vx::cues
