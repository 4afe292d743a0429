#pragma once
#include "core/program.h"

namespace vx::mixer {

// The automatic-mixing check run first in every main tick.
void autoCheck(Program& p);
// End of the song on `deck`: the end-of-stream event and the end-point check call it.
void nonstop(Program& p, int deck);

}  // namespace vx::mixer
