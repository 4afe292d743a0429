#include "view/keymap.h"

#include <map>
#include <sstream>

namespace vx::view {

namespace {

constexpr uint32_t kEvdevOffset = 8;  // X11 and Wayland keycodes are evdev codes + 8

// Physical keys by evdev code, for the keys whose code does not follow their character.
int positionKey(uint32_t evdev, KeyboardFamily family) {
  bool jis = family == KeyboardFamily::Jis;
  switch (evdev) {
    case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10:
      return '1' + static_cast<int>(evdev - 2);
    case 11: return '0';
    case 12: return 189;
    case 13: return jis ? 222 : 187;
    case 26: return jis ? 192 : 219;
    case 27: return jis ? 219 : 221;
    case 39: return jis ? 187 : 186;
    case 40: return jis ? 186 : 222;
    case 41: return jis ? 243 : 192;
    case 43: return jis ? 221 : 220;
    case 51: return 188;
    case 52: return 190;
    case 53: return 191;
    case 86: return 226;
    case 89: return 226;
    case 124: return 220;
    default: return 0;
  }
}

// Letters by position, for layouts whose letters are not Latin.
int letterByPosition(uint32_t evdev) {
  static const std::map<uint32_t, char> letters = {
      {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'}, {20, 'T'}, {21, 'Y'}, {22, 'U'}, {23, 'I'}, {24, 'O'},
      {25, 'P'}, {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'}, {35, 'H'}, {36, 'J'}, {37, 'K'},
      {38, 'L'}, {44, 'Z'}, {45, 'X'}, {46, 'C'}, {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'}};
  auto it = letters.find(evdev);
  return it == letters.end() ? 0 : it->second;
}

int keypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter: return 13;
    default: return 0;
  }
}

int functionKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Meta: return 91;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: break;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  return 0;
}

// The key's character when no scan code tells its position.
int characterKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 222;
    default: return 0;
  }
}

}  // namespace

KeyboardFamily keyboardFamily(const char* environmentValue, const std::string& keyboardSettingsText) {
  if (environmentValue && *environmentValue) {
    std::string v = environmentValue;
    return v == "jis" || v == "JIS" || v == "jp" ? KeyboardFamily::Jis : KeyboardFamily::Standard;
  }
  std::istringstream in(keyboardSettingsText);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("XKBLAYOUT=", 0) != 0) continue;
    std::string value = line.substr(10);
    if (!value.empty() && value.front() == '"') value = value.substr(1);
    return value.rfind("jp", 0) == 0 ? KeyboardFamily::Jis : KeyboardFamily::Standard;
  }
  return KeyboardFamily::Standard;
}

bool isJisOnlyKey(uint32_t nativeScanCode) {
  if (nativeScanCode <= kEvdevOffset) return false;
  uint32_t evdev = nativeScanCode - kEvdevOffset;
  return evdev == 89 || evdev == 124 || evdev == 92 || evdev == 93 || evdev == 94;
}

int virtualKey(int qtKey, bool keypad, uint32_t nativeScanCode, KeyboardFamily family) {
  if (keypad) {
    if (int vk = keypadKey(qtKey)) return vk;
  }
  if (int vk = functionKey(qtKey)) return vk;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (nativeScanCode > kEvdevOffset) {
    uint32_t evdev = nativeScanCode - kEvdevOffset;
    if (int vk = positionKey(evdev, family)) return vk;
    if (int vk = letterByPosition(evdev)) return vk;
    return 0;
  }
  return characterKey(qtKey);
}

int shiftMask(Qt::KeyboardModifiers modifiers) {
  int mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= 1;
  if (modifiers & Qt::ControlModifier) mask |= 2;
  if (modifiers & Qt::AltModifier) mask |= 4;
  return mask;
}

}  // namespace vx::view
