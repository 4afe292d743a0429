#pragma once
#include "core/program.h"

namespace vx::ui {

// "ﾊﾞｰｼﾞｮﾝ情報": shows the about window with the program's version; its OK button closes it.
void showAbout(Program& p);
void wireAbout(Program& p);

}  // namespace vx::ui
