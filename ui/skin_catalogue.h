#pragma once
// Every file a skin folder holds: the pictures the skin loader, the layout, the button swaps,
// the lamps and the recorder window name, and the font file.
#include <string>
#include <vector>

namespace vx::ui {

// The picture files (.bmp, and the jog wheel's .ico), each once.
const std::vector<std::string>& skinPictureNames();

inline constexpr const char* kFontFile = "font.txt";

// The DJ panel's knobs show one picture per angle step, 0 (fully left) .. kKnobSteps (fully
// right), the centre at kKnobSteps / 2; its meters one per number of lit segments.
inline constexpr int kKnobSteps = 32;
inline constexpr int kMeterSegments = 16;
std::string knobPicture(int step);   // "knob07.bmp"
std::string meterPicture(int lit);   // "meter12.bmp"

}  // namespace vx::ui
