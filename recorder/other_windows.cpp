#include "recorder/other_windows.h"

#include "recorder/recorder_window.h"

namespace vx::recorder {

void unloadOtherWindows(Program& p) {
  SamplerState& s = p.sampler;
  for (form::Form* f : std::initializer_list<form::Form*>{&p.about, &p.fontInfo, &p.config, &s.selectmode, &s.sampcfg,
                                                          &s.frmEcho, &s.frmChorus, &s.frmFlanger, &s.frmDistortion,
                                                          &s.frmCompressor, &s.frmParamEQ, &s.frmGargle}) {
    f->visible = false;
    f->touch();
  }
  if (holdsTake(p)) return;
  p.recorderWindow.visible = false;
  p.recorderWindow.touch();
}

}  // namespace vx::recorder
