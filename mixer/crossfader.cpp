#include "mixer/crossfader.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::mixer {

void switching(Program&) {}
bool fadeStep(Program&) { return false; }
void FaderUpdatePosition(Program&, double) {}
void faderJump(Program&, int) {}
void FDpaturn_Click(Program&, int) {}

}  // namespace vx::mixer
