#pragma once
// Keyboard events as the program reads them: Windows virtual-key codes.
//
// Letters come from the key's character in the active layout (as Windows assigns VK_A..VK_Z),
// digits and punctuation from the key's physical position, read from the native scan code
// (X11 and Wayland report evdev codes + 8). The punctuation keys follow the Windows layout of
// the keyboard's family:
//
//   position (US legend)   US / ISO   JIS (legend)
//   ;  right of L          186        187 (; +)
//   '  right of ;          222        186 (: *)
//   [  right of P          219        192 (@ `)
//   ]  right of [          221        219 ([ {)
//   \  above/left of Enter 220        221 (] })
//   /  right of .          191        191 (/ ?)
//   =  left of Backspace   187        222 (^ ~)
//   `  left of 1           192        243 (半角/全角)
//   ISO key left of Z      226        -
//   JIS ろ key right of /  -          226 (\ _)
//   JIS ¥ key              -          220
//
// So the master level keys (191 and 226) and the monitor level keys (186 and 221) sit side by
// side on a JIS keyboard. The family is JIS when VELVOX_KEYBOARD=jis, or when the system's
// keyboard setting (/etc/default/keyboard) names the "jp" layout, or as soon as a key only a
// JIS keyboard has is pressed; VELVOX_KEYBOARD=us or iso forces the others.
// Without scan codes (some platforms, tests) the key's character decides.
#include <Qt>
#include <cstdint>
#include <string>

namespace vx::view {

enum class KeyboardFamily { Standard, Jis };

// From VELVOX_KEYBOARD, else from the text of /etc/default/keyboard.
KeyboardFamily keyboardFamily(const char* environmentValue, const std::string& keyboardSettingsText);

// The virtual-key code of a key event; 0 for a key the program has no code for.
// `nativeScanCode` is the platform's (0 when unknown); `keypad` tells a numeric-keypad key.
int virtualKey(int qtKey, bool keypad, uint32_t nativeScanCode, KeyboardFamily family);

// True for keys only a JIS keyboard has (ろ, ¥, 変換, 無変換, かな).
bool isJisOnlyKey(uint32_t nativeScanCode);

// The classic shift mask (1 Shift, 2 Ctrl, 4 Alt) of Qt's modifiers.
int shiftMask(Qt::KeyboardModifiers modifiers);

}  // namespace vx::view
