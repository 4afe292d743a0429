#pragma once
// The slot dialog `sampcfg`: volume, tempo, loop and silencer, the effect picks, the 3D pad with
// its cone angle, and the sound keyboard.
#include "core/program.h"

namespace vx::sampler {

// The dialog's controls (once).
void buildSlotDialog(form::Form& f);
// Attaches the dialog's handlers (once).
void wireSlotDialog(Program& p);

void sampcfg_Load(Program& p);
void volume_Change(Program& p);
void tempo_MouseUp(Program& p);
void scrlangle_Change(Program& p);
void picDraw_MouseDown(Program& p, const form::MouseEvent& e);
void picDraw_MouseMove(Program& p, const form::MouseEvent& e);
void UpdatePosition(Program& p, double x, double z);
void DrawPositions(Program& p);
void keyboad_Click(Program& p);
void Command1_Click(Program& p);

}  // namespace vx::sampler
