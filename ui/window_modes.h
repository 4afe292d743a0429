#pragma once
// The window's own modes: which panels show, the menu bar, the small bar with its mini buttons,
// minimising with a caption, and staying above other windows. Lengths are twips.
#include "core/program.h"

namespace vx::ui {

inline constexpr double kWindowWidth = 10680;
inline constexpr double kMenuBarHeight = 280;
inline constexpr double kBarWidth = 4000;
inline constexpr double kBarHeight = 310;
inline constexpr double kMiniTopInBar = 40;
inline constexpr double kMiniTopParked = 1000;  // below the title bar, under the panels

// Places the panels and sizes the window for the shown panels and the menu bar. Stops silently
// at a picture that cannot be loaded, keeping what was set before it.
void layoutWindow(Program& p);

// The window height for the shown panels, without the menu bar and the DJ panel.
double windowHeight(bool samplerShown, bool songListShown);
inline constexpr double kDjPanelHeight = 2400;  // added below the other panels while shown

// The sampler button: toggles the sampler strip only while the sampler can be used.
void Imgsam_Click(Program& p);
// The list button: toggles the song list panel.
void Imglist_Click(Program& p);
// The DJ button: toggles the DJ panel (remembered in velvoxplus.ini).
void Imgdj_Click(Program& p);
// The menu button: shows or hides the menu bar.
void Imgmenu_Click(Program& p);

// Shrinks the window to the small bar with the mini buttons, which act on the deck played last.
void Tobar_Click(Program& p);
// Leaves the small bar (double-click on the title); nothing outside bar mode.
void formtobig(Program& p);

// Minimises the window; while minimised the caption carries the play time and title.
void Minimum_Click(Program& p);
// The window was resized: a restore after Minimum_Click clears the caption and lays out again.
void Form_Resize(Program& p);

// "常に手前に表示": toggles its check mark and keeps the window above the others while checked.
void temae_Click(Program& p);

}  // namespace vx::ui
