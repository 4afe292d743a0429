#pragma once
#include "core/program.h"

namespace vx::decks {

// One run of the main 30 ms timer.
void Timer1_Timer(Program& p);

}  // namespace vx::decks
