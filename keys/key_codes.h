#pragma once
// Windows virtual-key codes of the keys the main window acts on.

namespace vx::keys::vk {

inline constexpr int Backspace = 8, Enter = 13, Space = 32, PageUp = 33, PageDown = 34, End = 35, Left = 37,
                     Up = 38, Right = 39, Down = 40, Delete = 46;
inline constexpr int Digit1 = 49, Digit8 = 56, Numpad1 = 97, Numpad8 = 104;
inline constexpr int OemSemicolon = 186, OemSlash = 191, OemBracketRight = 221, OemBackslash = 226;

}  // namespace vx::keys::vk
