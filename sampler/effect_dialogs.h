#pragma once
// The seven effect parameter dialogs (`frmEcho` .. `frmGargle`): sliders and options that set
// every parameter of the slot's running effect at once.
#include "core/program.h"

namespace vx::sampler {

// The dialogs' controls (once each).
void buildEffectDialogs(SamplerState& s);
void wireEffectDialogs(Program& p);
// The dialog form of effect index `k` (0..5, 7).
form::Form& effectForm(SamplerState& s, int k);
// Loads effect `k`'s dialog on the slot's buffer (the controls take the effect's parameters,
// rounded to whole numbers, and set them back so) and shows it.
void showEffectDialog(Program& p, int k, int slot);
// Sets every parameter of the dialog's effect from its controls.
void applyParameters(Program& p, int k);

}  // namespace vx::sampler
