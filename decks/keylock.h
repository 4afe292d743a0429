#pragma once
// Key lock on each deck: while it is on, the deck's pitch knob changes the tempo and keeps the key;
// the headphone monitor follows the deck it plays. The lamp `keylock(D)` shows it and a click
// toggles it; the key `K` toggles it for the deck with the keyboard focus. Remembered in
// velvoxplus.ini, section [keylock], keys deck0 and deck1.
#include "core/program.h"

namespace vx::decks {

inline constexpr int kKeyLockKey = 'K';

// Takes the remembered key lock of both decks to their players and lamps (start-up, after the
// settings beyond the classic ones were read).
void readKeyLockSettings(Program& p);
void toggleKeyLock(Program& p, int deck);
void wireKeyLock(Program& p);

}  // namespace vx::decks
