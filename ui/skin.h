#pragma once
#include <string>

#include "core/program.h"

namespace vx::ui {

// Loads the current skin's pictures into the main window's controls in the skin's fixed order,
// stopping silently at the first picture that cannot be loaded: the controls before it show the
// new skin, the others keep the pictures they had.
void loadSkin(Program& p);

// Shows the current skin's picture `name` on a picture control, which takes the picture's size
// as an image control does (a panel only while it sizes itself automatically). False, and the
// control unchanged, when the file cannot be loaded.
bool showSkinPicture(Program& p, form::Picture& control, const std::string& name);

// The same for a picture the classic skins do not have (the DJ panel's): from the built-in skin
// when the current one lacks it.
bool showAddedPicture(Program& p, form::Picture& control, const std::string& name);

// The same with the skin folder already found.
bool showPictureFrom(Program& p, const std::string& folder, form::Picture& control, const std::string& name);

}  // namespace vx::ui
