#pragma once
#include <string>
#include <string_view>

#include "form/form.h"

namespace vx::form {

// Adds the controls a layout text describes to `form` (format: see mainform.layout).
// Throws std::runtime_error naming the line on a malformed line: the layout ships with the
// program, so a bad one is a build fault, not user input.
void loadLayout(Form& form, std::string_view text);

}  // namespace vx::form
