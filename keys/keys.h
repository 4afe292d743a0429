#pragma once
// The main window's keyboard: the whole mixer played from the keys. Deck keys act on the deck
// that holds the keyboard focus (`focusDeck`, shown by the label `Keyfocus`).
#include "core/program.h"

namespace vx::keys {

// Key press on the main window: the Windows virtual-key code; the shift mask is not used.
// First every deck key that is held down acts (holding Space while pressing another key
// switches again), then the pressed key itself.
void MainForm_KeyDown(Program& p, int keyCode, int shift);
void MainForm_KeyUp(Program& p, int keyCode, int shift);

// True while the main window has seen the key go down and not yet up. Codes outside 0..255
// are never down.
bool Vkey_Down(const Program& p, int keyCode);

// The main window lost the keyboard: every key counts as released, so a key let go over another
// window neither keeps acting nor blocks its sampler slot.
void keyboardFocusLost(Program& p);

void focuschangeA(Program& p);
void focuschangeB(Program& p);

// Attaches the key handlers to the main window.
void wireKeys(Program& p);

}  // namespace vx::keys
