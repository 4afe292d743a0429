#include "shell/startup_wiring.h"

#include "shell/startup.h"

namespace vx::shell {

void wireStartup(Program& p) {
  p.splash.timer("Timer1").tick = [&p] { splashTimerTick(p); };
  p.splash.click = [&p] { splashDismiss(p); };
  p.splash.keyDown = [&p](int, int) { splashDismiss(p); };
  for (form::Control* c : p.splash.controls()) {
    if (c->kind() == form::ControlKind::Timer) continue;
    c->events.click = [&p] { splashDismiss(p); };
  }
  p.main.paint = [&p] { mainFormPaint(p); };
}

}  // namespace vx::shell
