#pragma once
#include "core/program.h"

namespace vx::play {

// Selects the entry after the selected one (wrapping to the first; the first when nothing is
// selected), copies the selection to all seven lists and loads it into the deck, held paused
// at its start. On an empty list, or when the player refuses the file, it ends silently; a
// monitor that cannot open the song ends only the load (the song is still held paused).
void Nextsong(Program& p, int deck);
// The same toward the previous entry (wrapping to the last); nothing when nothing is selected.
void Presong(Program& p, int deck);

// The next and previous buttons: the step, then the deck is stopped and idle even when the
// step did nothing.
void SongNext_Click(Program& p, int deck);
void SongPre_Click(Program& p, int deck);

}  // namespace vx::play
