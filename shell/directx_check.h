#pragma once
#include "core/program.h"

namespace vx::shell {

// Creates the sampler's sound device while the sampler is switched on. Without a device the
// program starts reduced: the sampler menu is disabled, the sampler strip hidden, the slot
// buttons of the configuration dialog reset, the sampler switched off, and the user told once.
// Does nothing when the sampler is off or the device is already there, so the settings reader
// and start-up may both ask for it.
void directXCheck(Program& p);

}  // namespace vx::shell
