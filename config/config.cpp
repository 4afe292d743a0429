#include "config/config.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::config {

void resetSlotButtons(Program&) {}

}  // namespace vx::config
