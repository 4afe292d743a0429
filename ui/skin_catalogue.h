#pragma once
// Every file a skin folder holds: the pictures the skin loader, the layout, the button swaps,
// the lamps and the recorder window name, and the font file.
#include <string>
#include <vector>

namespace vx::ui {

// The picture files (.bmp, and the jog wheel's .ico), each once.
const std::vector<std::string>& skinPictureNames();

inline constexpr const char* kFontFile = "font.txt";

}  // namespace vx::ui
