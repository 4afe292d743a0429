#include "shell/settings_file.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::shell {

void readSettings(Program&) {}

}  // namespace vx::shell
