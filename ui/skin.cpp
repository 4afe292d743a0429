#include "ui/skin.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::ui {

void loadSkin(Program&) {}

}  // namespace vx::ui
