#pragma once
// The skin window `FontInfo` (caption "SKIN"): its list `List2` names every skin found; clicking
// one makes it the program's skin and reloads the pictures, the fonts and the layout. The font
// and colour editor shares the window.
#include <string>

#include "core/program.h"

namespace vx::ui {

// Adds the window's controls to the (empty) form.
void buildFontInfo(form::Form& f);

// The menu entry "ｽｷﾝ": names the current skin in the window's labels, lists the skins and
// shows the window.
void openSkinWindow(Program& p);

// Makes `skin` the program's skin: the pictures, the fonts and the layout follow.
void chooseSkin(Program& p, const std::string& skin);

void wireSkinChooser(Program& p);

}  // namespace vx::ui
