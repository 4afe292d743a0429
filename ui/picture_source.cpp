#include "ui/picture_source.h"

#include "ui/skin_files.h"

namespace vx::ui {

std::string pictureFile(const Program& p, const form::Picture& control, DrawnPicture& drawn) {
  const std::string& name = control.picture();
  auto it = p.skin.assigned.find(&control);
  if (it != p.skin.assigned.end() && it->second.serial > drawn.serial && it->second.name == name) {
    drawn = {name, it->second.path, it->second.serial};
  } else if (name != drawn.name) {
    // A name set directly (a lamp or a pressed button) is read from the skin in use now.
    std::string folder = skinFolder(p);
    drawn = {name, name.empty() || folder.empty() ? "" : folder + "/" + name, p.skin.serial};
  }
  return drawn.path;
}

}  // namespace vx::ui
