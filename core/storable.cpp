#include "core/storable.h"

#include "basic/encoding.h"

namespace vx {

namespace {

constexpr size_t kNamesShown = 5;

// The value as a message can show it: undecodable bytes as U+FFFD, line breaks as a symbol.
std::string shown(std::string_view value) {
  std::string text;
  for (char c : basic::toValidUtf8(value)) {
    if (c == '\n' || c == '\r') text += "↵";
    else text += c;
  }
  return text;
}

}  // namespace

bool storable(std::string_view value) {
  return value.find_first_of("\r\n") == std::string_view::npos && basic::isValidUtf8(value);
}

void reportUnstorable(Program& p, const std::vector<std::string>& refused) {
  if (refused.empty() || !p.ports.dialogs) return;
  std::string text = "改行かUTF-8でない文字を含む名前は設定に保存できないため、使えません。";
  for (size_t i = 0; i < refused.size() && i < kNamesShown; ++i) text += "\n" + shown(refused[i]);
  if (refused.size() > kNamesShown) text += "\nほか " + std::to_string(refused.size() - kNamesShown) + " 件";
  p.ports.dialogs->messageBox({text, "", platform::MsgButtons::OK, platform::MsgIcon::Warning});
}

bool acceptStorable(Program& p, const std::string& value) {
  if (storable(value)) return true;
  reportUnstorable(p, {value});
  return false;
}

}  // namespace vx
