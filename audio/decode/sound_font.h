#pragma once
// Where the General MIDI sound font for .mid files lies. Any thread.
#include <string>

namespace vx::audio {

// VELVOX_SOUNDFONT when it names a file, else the first General MIDI font installed by the
// system's packages; "" when there is none.
std::string findSoundFont();

// The message for a user whose system lacks one.
inline const char* missingSoundFontMessage() {
  return "no General MIDI sound font is installed (install the package timgm6mb-soundfont, or set VELVOX_SOUNDFONT)";
}

}  // namespace vx::audio
