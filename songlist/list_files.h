#pragma once
// The file menu's list-file entries.
#include "core/program.h"

namespace vx::songlist {

// Asks for a list file and replaces both lists with it; path list A and B then select their
// first entry, the other lists nothing. The decks keep what they hold. A file that cannot be
// read or is malformed changes no list and is reported.
void songlistload(Program& p);

// Asks for a name and saves both lists there (".lis" appended when the name lacks it). Both
// lists must hold a song. A name that is not an absolute path is ignored; a failed write is
// reported and leaves any earlier file as it was.
void songlist0(Program& p);

}  // namespace vx::songlist
