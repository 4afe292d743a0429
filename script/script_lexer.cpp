#include <cctype>
#include <cstdlib>

#include "script/script.h"

namespace vx::script {

std::optional<std::string> processEnv(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  if (!v) return std::nullopt;
  return std::string(v);
}

namespace {

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Lexer {
 public:
  Lexer(const std::string& line, const EnvLookup& env) : line_(line), env_(env) {}

  std::vector<Word> words() {
    std::vector<Word> out;
    skipBlanks();
    if (pos_ < line_.size() && line_[pos_] == '#') return out;
    while (pos_ < line_.size()) {
      out.push_back(word());
      skipBlanks();
    }
    return out;
  }

 private:
  // The character a backslash sequence inside quotes stands for; none keeps the backslash.
  static std::optional<char> unescape(char c) {
    switch (c) {
      case '"': return '"';
      case '\\': return '\\';
      case 'n': return '\n';
      case 'r': return '\r';
      case 't': return '\t';
      default: return std::nullopt;
    }
  }

  static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  void skipBlanks() {
    while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
  }

  Word word() {
    Word w;
    if (line_[pos_] == '"') {
      w.quoted = true;
      ++pos_;
      w.text = quotedText();
      if (pos_ < line_.size() && !isBlank(line_[pos_]))
        throw ScriptError("a blank must follow the closing quote");
      return w;
    }
    while (pos_ < line_.size() && !isBlank(line_[pos_])) appendChar(w.text);
    return w;
  }

  std::string quotedText() {
    std::string text;
    for (;;) {
      if (pos_ >= line_.size()) throw ScriptError("the quote is not closed");
      char c = line_[pos_];
      if (c == '"') {
        ++pos_;
        return text;
      }
      if (c == '\\' && pos_ + 1 < line_.size()) {
        if (auto byte = hexByte()) {
          text += *byte;
          pos_ += 4;
          continue;
        }
        if (auto escaped = unescape(line_[pos_ + 1])) {
          text += *escaped;
          pos_ += 2;
          continue;
        }
      }
      appendChar(text);
    }
  }

  // "\xHH" at the position: one raw byte, so a script can name a path that is not UTF-8.
  std::optional<char> hexByte() const {
    if (pos_ + 3 >= line_.size() || line_[pos_ + 1] != 'x') return std::nullopt;
    auto digit = [](char h) -> int {
      if (h >= '0' && h <= '9') return h - '0';
      if (h >= 'a' && h <= 'f') return h - 'a' + 10;
      if (h >= 'A' && h <= 'F') return h - 'A' + 10;
      return -1;
    };
    const int high = digit(line_[pos_ + 2]), low = digit(line_[pos_ + 3]);
    if (high < 0 || low < 0) return std::nullopt;
    return static_cast<char>(high * 16 + low);
  }

  // One character, or the value of the variable that starts here.
  void appendChar(std::string& out) {
    if (line_[pos_] != '$') {
      out += line_[pos_++];
      return;
    }
    ++pos_;
    if (pos_ < line_.size() && line_[pos_] == '$') {
      out += '$';
      ++pos_;
      return;
    }
    out += variable();
  }

  std::string variable() {
    bool braced = pos_ < line_.size() && line_[pos_] == '{';
    if (braced) ++pos_;
    size_t start = pos_;
    while (pos_ < line_.size() && isNameChar(line_[pos_])) ++pos_;
    std::string name = line_.substr(start, pos_ - start);
    if (braced) {
      if (pos_ >= line_.size() || line_[pos_] != '}') throw ScriptError("${ is not closed by }");
      ++pos_;
    }
    if (name.empty()) {
      if (braced) throw ScriptError("${} names no variable");
      return "$";  // a lone $ stands for itself
    }
    auto value = env_(name);
    if (!value) throw ScriptError("the environment variable " + name + " is not set");
    return *value;
  }

  const std::string& line_;
  const EnvLookup& env_;
  size_t pos_ = 0;
};

}  // namespace

std::vector<Word> splitWords(const std::string& line, const EnvLookup& env) { return Lexer(line, env).words(); }

}  // namespace vx::script
