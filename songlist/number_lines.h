#pragma once
// Checking a whole column of number lines at once. Five of a song list's seven columns hold
// numbers, a third of a million lines in a full settings file; checking them one by one was a
// third of the time it took to read it.
#include <cstddef>
#include <string_view>

#include "basic/textfile.h"

namespace vx::songlist {

// Whether each of the n lines is a number as isNumberText takes it. The lines are consecutive
// lines of `text` as a LineSplitter gives them (each span followed by its line end, but the last).
bool allNumberLines(std::string_view text, const basic::LineSpan* lines, size_t n);

}  // namespace vx::songlist
