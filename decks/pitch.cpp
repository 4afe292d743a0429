#include "decks/pitch.h"

// Not built yet: does nothing until its subsystem lands.
namespace vx::decks {

void applyPitch(Program&, int) {}

}  // namespace vx::decks
