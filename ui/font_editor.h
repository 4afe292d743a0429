#pragma once
// The fonts and colours editor of the skin window `FontInfo`: three display elements (the main
// display, the sampler pads, the song lists), a font list, a size box, colour dialogs, the
// skin's saved values back ("デフォルト") and saving them into the skin ("保存").
#include "core/program.h"

namespace vx::ui {

// The element buttons `Font`(i): preview, and the editing controls enabled the first time.
void Font_Click(Program& p, int element);
void fontList_Click(Program& p);
void fontsize1_Change(Program& p);
void foncolor_Click(Program& p);
void backcolor1_Click(Program& p);
void fontdedalt_Click(Program& p);
void Command3_Click(Program& p);

// The window as designed, before its load: no element chosen, editing controls disabled.
void resetFontEditor(Program& p);

// The controls' looks the program starts with, before any font.txt is read.
void applyDefaultLooks(Program& p);

void wireFontEditor(Program& p);

inline constexpr int kMaxEditorFontSize = 50;

}  // namespace vx::ui
