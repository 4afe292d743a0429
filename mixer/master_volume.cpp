#include "mixer/master_volume.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::mixer {

void initMasterKnob(Program&) {}
void masvol2(Program&, int) {}

}  // namespace vx::mixer
