#include "decks/time_display.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::decks {

void timecounter(Program&, int) {}

}  // namespace vx::decks
