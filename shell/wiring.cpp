#include "shell/wiring.h"

namespace vx::shell {

void wireMainForm(Program& p) {
  (void)p;
}

}  // namespace vx::shell
