#pragma once
// Which file a picture control is drawn from. The control holds only a file name; the file
// comes from the skin that was current when the name was given, so a skin change that stopped
// early leaves the controls after the missing file in their old skin.
#include <cstdint>
#include <string>

#include "core/program.h"

namespace vx::ui {

// What the window drew for one control last time. Start with an empty one.
struct DrawnPicture {
  std::string name;
  std::string path;
  uint64_t serial = 0;
};

// The file to draw `control` from, updating `drawn`. A name the control got since the last
// drawing comes from the current skin unless the skin loader, the layout or a swap recorded
// where it took that very name from; an unchanged name keeps its file.
std::string pictureFile(const Program& p, const form::Picture& control, DrawnPicture& drawn);

}  // namespace vx::ui
