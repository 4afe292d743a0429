#pragma once
// Properties of controls and forms as scripts read and set them.
#include <string>

#include "form/form.h"
#include "script/script.h"
#include "script/value.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words

// A control's property; `element` is the I of list(I), -1 for every other property. An entry
// the list does not have is not available. ScriptError when the control has no such property.
Value readControlProperty(const form::Control& c, const std::string& property, int element);

// caption, left, top, width, height, visible of a window.
Value readFormProperty(const form::Form& f, const std::string& property);

// Sets a property as the user would change it and raises the event the control raises then:
// a slider's or text box's `change` when the value changed, a check box's or option button's
// `click`, a list's `click` whenever its index is set. caption, visible, enabled, left and top
// are set without an event. ScriptError for a property that cannot be set or a bad value.
void setControlProperty(form::Control& c, const std::string& property, const Word& value);

}  // namespace vx::control
