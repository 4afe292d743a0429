#pragma once
// The list block: how the settings file and list files keep one deck's song list. A count line
// N, then the seven columns one after another, N lines each (paths, titles, tempo, trim, cue,
// start, end). An empty list is the single line "0".
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "basic/textfile.h"
#include "songlist/song_list.h"

namespace vx::songlist {

// Takes one line to write, without its line end.
using LineSink = std::function<void(std::string_view line)>;

// Reads one block. nullopt when the count is not a whole number from 0 to the list limit, when
// the lines end before the seven columns are complete, or when a tempo, trim, cue, start or end
// line is not a number. A caller that gets nullopt must apply nothing it read, so the seven
// lists never take a half block. The splitter's position is then unspecified; after a block it
// stands at the line after it. `in` splits `text` (or a part of it); the columns keep their
// entries in that text.
using SharedText = std::shared_ptr<const std::string>;
std::optional<Columns> readListBlock(basic::LineSplitter& in, const SharedText& text);

// Appends the block of `list` to `text`, each line with CR LF. A line break inside a value (a file name may hold
// one) is written as a blank: one value must stay one line, or every later line shifts. Bytes
// that are not UTF-8 (a file name from a folder listing may hold them) are written as U+FFFD:
// the reader takes a file that is not UTF-8 as a whole for CP932, which would garble every
// other name in it.
void writeListBlock(const SongList& list, std::string& text);
// What the block of `list` takes in bytes, a little more when values need mending.
size_t listBlockSize(const SongList& list);

// True for the numbers the lists hold: optional blanks, a sign, digits with at most one point
// (at least one digit), an optional exponent (E or D, a sign, digits). " 103.5", ".5", "-1",
// "1E+16" are numbers; "", "1,5", "abc", "12x" are not.
bool isNumberText(std::string_view text);

}  // namespace vx::songlist
