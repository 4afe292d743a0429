#pragma once
// The second phase of a key press: the sampler keys, then the mixer keys, by the pressed key.
#include "core/program.h"

namespace vx::keys {

// The sampler slot of a digit key 1..8 of the main block or the keypad; -1 for other keys.
int sampleSlotOfKey(int keyCode);

void pressedKey(Program& p, int keyCode);

}  // namespace vx::keys
