#pragma once
#include "core/program.h"

namespace vx::ui {

// Gives every button that shows its second picture while pressed its press and release swap,
// whatever the mouse button. Chains onto the handlers already attached, so it must be wired after
// the subsystems that own those buttons. A picture that cannot be loaded leaves the button as it
// was.
void wireSkinButtons(Program& p);

}  // namespace vx::ui
