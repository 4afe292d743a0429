#include "decks/tick.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::decks {

void Timer1_Timer(Program&) {}

}  // namespace vx::decks
