#include "mixer/channel_strip.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::mixer {

void trimlinedraw(Program&, int) {}

}  // namespace vx::mixer
