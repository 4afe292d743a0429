#include "ui/other_windows.h"

namespace vx::ui {

void unloadOtherWindows(Program& p) {
  SamplerState& s = p.sampler;
  for (form::Form* f : std::initializer_list<form::Form*>{&p.about, &p.fontInfo, &p.config, &s.selectmode, &s.sampcfg,
                                                          &s.frmEcho, &s.frmChorus, &s.frmFlanger, &s.frmDistortion,
                                                          &s.frmCompressor, &s.frmParamEQ, &s.frmGargle, &p.recorderWindow}) {
    f->visible = false;
    f->touch();
  }
}

}  // namespace vx::ui
