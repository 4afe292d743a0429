#pragma once
// Checking a whole column of number lines at once. Five of a song list's seven columns hold
// numbers, a third of a million lines in a full settings file; checking them one by one was a
// third of the time it took to read it.
#include <string_view>

namespace vx::songlist {

// Whether every line of `lines` is a number as isNumberText takes it. `lines` holds whole
// lines with their line ends (the last may lack its own), as a LineSplitter splits them.
bool allNumberLines(std::string_view lines);

}  // namespace vx::songlist
