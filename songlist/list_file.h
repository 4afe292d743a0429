#pragma once
// List files: both decks' song lists, the list block of deck 0 followed by that of deck 1.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "songlist/song_list.h"

namespace vx::songlist {

using ListFile = std::array<Columns, 2>;

// Both blocks from the bytes of a list file. nullopt when either block is malformed (see
// readListBlock) or when anything but blank lines follows the second block: the counts then
// do not describe the lines, and applying the file would misplace values. A file that is UTF-8
// as a whole is UTF-8, anything else CP932 throughout (basic::decodeText).
std::optional<ListFile> parseListFile(std::string_view bytes);

// The same from a file; nullopt also when it cannot be read.
std::optional<ListFile> readListFile(const std::string& path);

// The text of a list file holding both decks' lists as they stand, every line ended by CR LF.
std::string listFileText(form::MainForm& form);

// Writes the file through a temporary file renamed over it, so a failed save leaves any
// earlier file whole. False with a reason in *error on failure.
bool writeListFile(const std::string& path, form::MainForm& form, std::string* error);

}  // namespace vx::songlist
