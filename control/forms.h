#pragma once
// The program's windows as scripts name them, and control look-up by reference.
#include <string>
#include <vector>

#include "core/program.h"
#include "form/form.h"

namespace vx::control {

// Every form of the program, MainForm first. A new window is one more line in forms.cpp.
std::vector<form::Form*> programForms(Program& p);

// The form with that name ("" = MainForm); nullptr when there is none.
form::Form* findForm(Program& p, const std::string& name);

// The control a reference names; ScriptError when the form or the control does not exist.
form::Control& findControl(Program& p, const form::ControlRef& ref);

// The reference as the script writes it ("Pause(0)", "config.gyap").
std::string refText(const form::ControlRef& ref);

// Parses a control reference; ScriptError when the text is not one.
form::ControlRef parseRef(const std::string& text);

}  // namespace vx::control
