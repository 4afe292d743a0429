#include "audio/decode/sound_font.h"

#include <cstdlib>
#include <filesystem>

namespace vx::audio {

std::string findSoundFont() {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (const char* chosen = std::getenv("VELVOX_SOUNDFONT"); chosen && fs::is_regular_file(chosen, ec)) return chosen;
  for (const char* candidate : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                                "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
                                "/usr/share/sounds/sf3/default-GM.sf3"}) {
    if (fs::is_regular_file(candidate, ec)) return candidate;
  }
  return "";
}

}  // namespace vx::audio
