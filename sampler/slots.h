#pragma once
// The eight slots: loading a sound (open dialog, menu, drop), the mode choice that makes its
// buffer, the trigger with loop and silencer, clearing, restoring at start-up and releasing.
#include <string>

#include "core/program.h"

namespace vx::sampler {

// Flags of the buffer of each kind: 0 Sampler3D, 1 Effecter3D, 2 SamplerPan, 3 EffecterPan.
long kindFlags(int kind);

// " 1:kick.wav": the slot number as Str writes it, a colon and the file's name.
std::string slotLabelText(int slot, const std::string& path);

// A press of a mouse button other than the right one on the slot's label; the menu entry.
void loadSlotFromDialog(Program& p, int slot);
// Files dropped on the slot's label.
void Text1_OLEDragDrop(Program& p, int slot, const std::vector<std::string>& paths);
// Right button pressed on the slot's label.
void Text1_RightDown(Program& p, int slot);
// A click on the mode window's label `index` (0 "SAMPLER MODE", 1 "EFFECTER MODE").
void selectmode_Label1_Click(Program& p, int index);
void cmdStop_Click(Program& p, int slot);
// The menu "ｻﾝﾌﾟﾗｰのｸﾘｱ".
void clssamp_Click(Program& p);

// Hides every window of the program but the main window.
void closeOtherWindows(Program& p);
// The mode window's controls (once).
void buildSelectMode(form::Form& f);

}  // namespace vx::sampler
