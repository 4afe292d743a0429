#include "songlist/selection.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::songlist {

void Nextsong(Program&, int) {}
void Presong(Program&, int) {}

}  // namespace vx::songlist
