#include "ui/window_wiring.h"

#include "ui/about.h"
#include "ui/skin_chooser.h"
#include "ui/window_drag.h"
#include "ui/window_modes.h"

namespace vx::ui {

namespace {

using Action = void (*)(Program&);

void onClick(Program& p, form::Control& c, Action action) {
  c.events.click = [&p, action] { action(p); };
}

// A line's designed place is in the layout as its start and its extent; the line models keep
// their ends, so lines that nothing has drawn yet take the designed ones (the trim pointers
// stand straight up until a song is loaded).
void placeDesignedLines(form::Form& form) {
  for (form::Control* c : form.controls()) {
    auto* line = dynamic_cast<form::Line*>(c);
    if (!line || line->x1 != 0 || line->y1 != 0 || line->x2 != 0 || line->y2 != 0) continue;
    line->set(line->left(), line->top(), line->left() + line->width(), line->top() + line->height());
  }
}

}  // namespace

void wireWindowModes(Program& p) {
  onClick(p, p.main.picture("Imgsam"), Imgsam_Click);
  onClick(p, p.main.picture("Imglist"), Imglist_Click);
  onClick(p, p.main.picture("Imgdj"), Imgdj_Click);
  onClick(p, p.main.picture("Imgmenu"), Imgmenu_Click);
  onClick(p, p.main.picture("Tobar"), Tobar_Click);
  onClick(p, p.main.picture("Minimum"), Minimum_Click);
  onClick(p, p.main.menu("temae"), temae_Click);
  for (form::Control* title : {static_cast<form::Control*>(&p.main.picture("Image1")),
                               static_cast<form::Control*>(&p.main.label("topbar")),
                               static_cast<form::Control*>(&p.main.label("bartime"))})
    title->events.dblClick = [&p] { formtobig(p); };
  p.main.resize = [&p] { Form_Resize(p); };
  placeDesignedLines(p.main);
  wireWindowDrag(p);
  wireAbout(p);
  wireSkinChooser(p);
}

}  // namespace vx::ui
