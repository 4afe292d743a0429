#include "view/program_windows.h"

#include "view/gui_app.h"

namespace vx::view {

// One line a window. The models have no button kind: a dialog names the labels it shows as push
// buttons, and the pictures that show the program's icon.
void addProgramWindows(GuiApp& gui, Program& p) {
  gui.addDialog(p.about, {{"OK"}, {"Image1"}});
  gui.addDialog(p.fontInfo, {{"foncolor", "backcolor1", "fontdedalt", "Command3"}, {}});
}

}  // namespace vx::view
