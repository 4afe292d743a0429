#pragma once
// The fonts and colours of a skin, kept in its "font.txt": 16 lines, sizes, names and colours of
// the deck titles (`text2`), the sampler pads (`Text1`), the hidden path lists (`List1`) and the
// song lists (`title1`).
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::ui {

inline constexpr int kFontFileLines = 16;

// Reads the current skin's font.txt and applies it line by line, stopping silently at the first
// line that is missing or that a control refuses (what was applied stays). Only a complete file
// then gives the main display's colour to the deck's other labels. A missing file changes nothing.
void loadFonts(Program& p);

// The 16 lines as the controls hold them now.
std::vector<std::string> fontLines(const Program& p);

// Writes the current skin's font.txt from the controls. A skin installed with the program is
// first copied into the home folder's skins, which then hide it. False, with the reason, when
// the file cannot be written.
bool saveFonts(Program& p, std::string& error);

}  // namespace vx::ui
