#include "ui/fonts.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::ui {

void loadFonts(Program&) {}

}  // namespace vx::ui
