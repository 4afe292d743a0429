#include "control/forms.h"

#include "script/script.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words

std::vector<form::Form*> programForms(Program& p) {
  SamplerState& s = p.sampler;
  return {&p.main,      &p.splash,      &p.about,        &p.fontInfo,  &p.config,     &s.selectmode,
          &s.sampcfg,   &s.frmEcho,     &s.frmChorus,    &s.frmFlanger, &s.frmDistortion,
          &s.frmCompressor, &s.frmParamEQ, &s.frmGargle, &p.recorderWindow};
}

form::Form* findForm(Program& p, const std::string& name) {
  if (name.empty()) return &p.main;
  for (form::Form* f : programForms(p))
    if (f->name() == name) return f;
  return nullptr;
}

std::string refText(const form::ControlRef& ref) {
  std::string text = ref.form.empty() ? "" : ref.form + ".";
  text += ref.name;
  if (ref.index >= 0) text += "(" + std::to_string(ref.index) + ")";
  return text;
}

form::Control& findControl(Program& p, const form::ControlRef& ref) {
  form::Form* f = findForm(p, ref.form);
  if (!f) throw ScriptError("no form " + ref.form);
  form::Control* c = f->find(ref.name, ref.index);
  if (!c) throw ScriptError("no control " + refText(ref) + (ref.form.empty() ? " on MainForm" : ""));
  return *c;
}

form::ControlRef parseRef(const std::string& text) {
  form::ControlRef ref;
  if (!form::parseControlRef(text, ref)) throw ScriptError(text + " is not a control reference");
  return ref;
}

}  // namespace vx::control
