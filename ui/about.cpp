#include "ui/about.h"

#include "basic/version.h"

namespace vx::ui {

void showAbout(Program& p) {
  p.about.label("lblVersion").setCaption("Version " + basic::versionText());
  p.about.caption = "Velvox";
  p.about.visible = true;
  p.about.touch();
}

void wireAbout(Program& p) {
  p.main.menu("version").events.click = [&p] { showAbout(p); };
  p.about.label("OK").events.click = [&p] {
    p.about.visible = false;
    p.about.touch();
  };
}

}  // namespace vx::ui
