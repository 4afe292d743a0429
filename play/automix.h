#pragma once
// Continuous play: shortly before the playing deck's song ends the other deck is started, by a
// plain start or by an automatic crossfade; the ended deck is then loaded with the next (or a
// random) song of its own list.
#include "core/program.h"

namespace vx::play {

// The automatic-mixing check run first in every main tick.
void autoCheck(Program& p);
// End of the song on `deck`: the end-of-stream event and the end-point check call it.
void nonstop(Program& p, int deck);

// A click on one of the menu options `autoplay2`, `autocrossfadeplay`, `random`, `countdown`:
// toggles its check mark.
void toggleOption(Program& p, const char* entry);

}  // namespace vx::play
