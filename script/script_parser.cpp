#include <cstdlib>
#include <map>

#include "script/script.h"

namespace vx::script {

const char* dialogKindName(DialogKind kind) {
  switch (kind) {
    case DialogKind::MsgBox: return "msgbox";
    case DialogKind::Open: return "open";
    case DialogKind::Save: return "save";
    case DialogKind::Color: return "color";
    case DialogKind::Popup: return "popup";
  }
  return "?";
}

namespace {

using form::MouseButton;
using Words = std::vector<Word>;

bool toNumber(const Word& w, double& out) {
  if (w.quoted || w.text.empty()) return false;
  char* end = nullptr;
  out = std::strtod(w.text.c_str(), &end);
  return end == w.text.c_str() + w.text.size();
}

long toWhole(const Word& w, const char* what, long low, long high) {
  double d = 0;
  if (!toNumber(w, d) || d != static_cast<long>(d) || d < low || d > high)
    throw ScriptError(std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", not " + w.text);
  return static_cast<long>(d);
}

int modifierBit(const Word& w) {
  if (w.quoted) return 0;
  if (w.text == "shift") return form::ShiftKey;
  if (w.text == "ctrl") return form::CtrlKey;
  if (w.text == "alt") return form::AltKey;
  return 0;
}

std::optional<MouseButton> buttonWord(const Word& w) {
  static const std::map<std::string, MouseButton> names{
      {"left", MouseButton::Left}, {"right", MouseButton::Right}, {"middle", MouseButton::Middle}, {"none", MouseButton::None}};
  auto it = names.find(w.text);
  if (w.quoted || it == names.end()) return std::nullopt;
  return it->second;
}

void needCount(const Words& w, size_t low, size_t high, const char* usage) {
  if (w.size() < low || w.size() > high) throw ScriptError(std::string("usage: ") + usage);
}

// REF [X Y] [button] [shift|ctrl|alt ...]; a move needs X and Y.
Command mouseCommand(CommandKind kind, const Words& w, const char* usage, bool needPoint) {
  needCount(w, 2, 8, usage);
  Command c;
  c.kind = kind;
  c.target = w[1].text;
  size_t i = 2;
  double x = 0, y = 0;
  if (i + 1 < w.size() && toNumber(w[i], x) && toNumber(w[i + 1], y)) {
    c.mouse.x = x;
    c.mouse.y = y;
    i += 2;
  } else if (needPoint) {
    throw ScriptError(std::string("usage: ") + usage);
  }
  bool haveButton = false;
  for (; i < w.size(); ++i) {
    if (int bit = modifierBit(w[i])) {
      c.mouse.shift |= bit;
    } else if (auto b = buttonWord(w[i]); b && !haveButton) {
      c.mouse.button = *b;
      haveButton = true;
    } else {
      throw ScriptError("unexpected " + w[i].text + "; usage: " + usage);
    }
  }
  return c;
}

Command keyCommand(CommandKind kind, const Words& w) {
  needCount(w, 2, 5, "key|keydown|keyup VK [shift] [ctrl] [alt]");
  Command c;
  c.kind = kind;
  c.key = static_cast<int>(toWhole(w[1], "a virtual-key code", 0, 255));
  for (size_t i = 2; i < w.size(); ++i) {
    int bit = modifierBit(w[i]);
    if (!bit) throw ScriptError("unexpected " + w[i].text + " after the key code");
    c.shift |= bit;
  }
  return c;
}

Command dropCommand(const Words& w) {
  needCount(w, 3, 100000, "drop REF [shift] PATH...");
  Command c;
  c.kind = CommandKind::Drop;
  c.target = w[1].text;
  size_t i = 2;
  for (; i < w.size() && modifierBit(w[i]); ++i) c.shift |= modifierBit(w[i]);
  for (; i < w.size(); ++i) c.paths.push_back(w[i].text);
  if (c.paths.empty()) throw ScriptError("drop needs at least one path");
  return c;
}

platform::MsgResult msgboxAnswer(const Word& w) {
  static const std::map<std::string, platform::MsgResult> names{{"ok", platform::MsgResult::OK},
                                                                {"cancel", platform::MsgResult::Cancel},
                                                                {"retry", platform::MsgResult::Retry},
                                                                {"yes", platform::MsgResult::Yes},
                                                                {"no", platform::MsgResult::No}};
  auto it = names.find(w.text);
  if (it == names.end()) throw ScriptError("a message box is answered with yes, no, cancel, ok or retry, not " + w.text);
  return it->second;
}

uint32_t colorAnswer(const Word& w) {
  const std::string& t = w.text;
  bool hex = t.size() > 2 && (t.rfind("&H", 0) == 0 || t.rfind("0x", 0) == 0);
  char* end = nullptr;
  unsigned long v = std::strtoul(t.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (t.empty() || *end != '\0' || v > 0xFFFFFF) throw ScriptError("a colour is a number 0..16777215 (or &HBBGGRR), not " + t);
  return static_cast<uint32_t>(v);
}

Command answerCommand(const Words& w) {
  needCount(w, 3, 3, "answer msgbox|open|save|color|popup ANSWER");
  static const std::map<std::string, DialogKind> kinds{{"msgbox", DialogKind::MsgBox}, {"open", DialogKind::Open},
                                                       {"save", DialogKind::Save},     {"color", DialogKind::Color},
                                                       {"popup", DialogKind::Popup}};
  auto kind = kinds.find(w[1].text);
  if (kind == kinds.end()) throw ScriptError("no dialog kind " + w[1].text + " (msgbox, open, save, color, popup)");
  Command c;
  c.kind = CommandKind::Answer;
  Answer& a = c.answer;
  a.kind = kind->second;
  const Word& v = w[2];
  a.cancel = !v.quoted && v.text == (a.kind == DialogKind::Popup ? "none" : "cancel");
  if (a.kind == DialogKind::MsgBox) a.result = msgboxAnswer(v);
  else if (a.kind == DialogKind::Color && !a.cancel) a.color = colorAnswer(v);
  else if (!a.cancel) a.text = v.text;
  return c;
}

Command expectCommand(const Words& w) {
  if (w.size() > 4 && w[2].text == "=") throw ScriptError("a value with blanks must be written in double quotes");
  needCount(w, 4, 4, "expect ITEM = VALUE");
  if (w[2].quoted || w[2].text != "=") throw ScriptError("usage: expect ITEM = VALUE");
  Command c;
  c.kind = CommandKind::Expect;
  c.target = w[1].text;
  c.expected = Expected{w[3].text, w[3].quoted};
  return c;
}

Command simpleCommand(CommandKind kind, const Words& w, size_t words, const char* usage) {
  needCount(w, words, words, usage);
  Command c;
  c.kind = kind;
  c.target = w[1].text;
  if (kind == CommandKind::Set) c.value = w[2];
  return c;
}

Command tickCommand(const Words& w) {
  needCount(w, 1, 2, "tick [N]");
  Command c;
  c.kind = CommandKind::Tick;
  c.count = w.size() == 2 ? toWhole(w[1], "the tick count", 0, 100000000) : 1;
  return c;
}

// midi PORT B1 B2 [B3]: bytes in hexadecimal, as one piece of the port's stream (a status byte
// may be left out for running status, so one or two bytes after the port are enough too).
Command midiCommand(const Words& w) {
  needCount(w, 3, 5, "midi PORT B1 B2 [B3]");
  Command c;
  c.kind = CommandKind::Midi;
  c.target = w[1].text;
  for (size_t i = 2; i < w.size(); ++i) {
    const std::string& t = w[i].text;
    size_t used = 0;
    unsigned long v = 256;
    try {
      v = std::stoul(t, &used, 16);
    } catch (const std::exception&) {
    }
    if (t.empty() || used != t.size() || v > 255 || t.size() > 2) throw ScriptError("midi: " + t + " is not a byte in hexadecimal (00 to FF)");
    c.bytes.push_back(static_cast<uint8_t>(v));
  }
  return c;
}

}  // namespace

Command parseCommand(const Words& w) {
  if (w.empty()) throw ScriptError("empty command");
  if (w[0].quoted) throw ScriptError("a command name is not quoted");
  const std::string& name = w[0].text;
  if (name == "down") return mouseCommand(CommandKind::Down, w, "down REF [X Y] [left|right|middle] [shift]", false);
  if (name == "up") return mouseCommand(CommandKind::Up, w, "up REF [X Y] [left|right|middle] [shift]", false);
  if (name == "move") return mouseCommand(CommandKind::Move, w, "move REF X Y [left|right|middle|none] [shift]", true);
  if (name == "click") return simpleCommand(CommandKind::Click, w, 2, "click REF");
  if (name == "dblclick") return simpleCommand(CommandKind::DblClick, w, 2, "dblclick REF");
  if (name == "key") return keyCommand(CommandKind::Key, w);
  if (name == "keydown") return keyCommand(CommandKind::KeyDown, w);
  if (name == "keyup") return keyCommand(CommandKind::KeyUp, w);
  if (name == "drop") return dropCommand(w);
  if (name == "menu") return simpleCommand(CommandKind::Menu, w, 2, "menu NAME");
  if (name == "close") return simpleCommand(CommandKind::Close, w, 2, "close WINDOW");
  if (name == "deactivate") return simpleCommand(CommandKind::Deactivate, w, 2, "deactivate WINDOW");
  if (name == "answer") return answerCommand(w);
  if (name == "set") return simpleCommand(CommandKind::Set, w, 3, "set REF.PROPERTY VALUE");
  if (name == "tick") return tickCommand(w);
  if (name == "print") return simpleCommand(CommandKind::Print, w, 2, "print ITEM");
  if (name == "expect") return expectCommand(w);
  if (name == "midi") return midiCommand(w);
  throw ScriptError("unknown command " + name);
}

}  // namespace vx::script
