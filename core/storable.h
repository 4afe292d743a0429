#pragma once
// Paths and names the settings and list files can hold. Those files keep one value a line, in
// UTF-8; a value with a line break or with bytes that are not UTF-8 would not read back as it
// was written (the lines shift, or the whole file is read in another encoding). Such a value is
// refused where it enters the program (drop, open dialog, playlist, skin chooser), by this one
// rule and with one message that names it, so every value written reads back exactly.
#include <string>
#include <string_view>
#include <vector>

#include "core/program.h"

namespace vx {

// Valid UTF-8 with no line break (CR or LF).
bool storable(std::string_view value);

// The one message naming the values an action refused; nothing when there are none.
void reportUnstorable(Program& p, const std::vector<std::string>& refused);

// True when `value` is storable; else names it in the message and answers false.
bool acceptStorable(Program& p, const std::string& value);

}  // namespace vx
