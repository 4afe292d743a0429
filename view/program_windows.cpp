#include "view/program_windows.h"

#include "view/gui_app.h"

namespace vx::view {

// One line a window. The models have no button kind: a dialog names the labels it shows as push
// buttons, and the pictures that show the program's icon.
void addProgramWindows(GuiApp& gui, Program& p) {
  gui.addDialog(p.about, {{"OK"}, {"Image1"}, {}, {}});
  gui.addDialog(p.fontInfo, {{"foncolor", "backcolor1", "fontdedalt", "Command3"}, {}, {}, {}});
  FormWindowOptions config;
  config.buttons = {"fdrec", "startvolcon", "Command1"};
  config.frames = {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "Picture1"};
  gui.addDialog(p.config, config);
  gui.addSkinnedWindow(p.recorderWindow, {});
  SamplerState& s = p.sampler;
  gui.addDialog(s.selectmode, {{"Label1"}, {}, {}, {}});
  gui.addDialog(s.sampcfg, {{"keyboad", "efectcfg", "Command1"}, {}, {"Frame1", "Frame2"}, {"picDraw"}});
  for (form::Form* f : {&s.frmEcho, &s.frmChorus, &s.frmFlanger, &s.frmDistortion, &s.frmCompressor, &s.frmParamEQ,
                        &s.frmGargle})
    gui.addDialog(*f, {{"cmdOK"}, {}, {"Frame1"}, {}});
}

}  // namespace vx::view
