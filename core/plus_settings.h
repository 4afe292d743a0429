#pragma once
// Settings of the features beyond the classic player's (the DJ panel, key lock, controllers,
// analysis options): `velvoxplus.ini` beside `velvoxp.ini`, whose layout stays untouched. Read
// once at start-up; written with the other settings (and at once by a dialog's OK), atomically,
// keeping unknown sections and keys. A damaged or unreadable file never stops the program: its
// values fall back to their defaults and one message names it.
#include <string>
#include <string_view>
#include <vector>

#include "basic/ini_file.h"

namespace vx {

struct Program;

class PlusSettings {
 public:
  // Reads `path` ("" = no file: everything keeps its default). Messages name damaged lines.
  void load(const std::string& path, std::vector<std::string>& messages);
  // Writes the file when something changed since the last load or save; false with `error`
  // when it could not be written (the values stay, to be written next time).
  bool save(std::string* error);

  std::string get(std::string_view section, std::string_view key, std::string_view fallback) const;
  // "1"/"0" flags; anything else is the fallback.
  bool flag(std::string_view section, std::string_view key, bool fallback) const;
  // A whole number within [low, high]; anything else is the fallback.
  long number(std::string_view section, std::string_view key, long fallback, long low, long high) const;

  void set(std::string_view section, std::string_view key, std::string_view value);
  void setFlag(std::string_view section, std::string_view key, bool on) { set(section, key, on ? "1" : "0"); }
  void setNumber(std::string_view section, std::string_view key, long value);

  const std::string& path() const { return path_; }
  // True while a start-up has not read the file (tests and first starts): defaults apply.
  bool fresh() const { return !found_; }

 private:
  basic::IniFile file_;
  std::string path_;
  bool found_ = false;
  bool changed_ = false;
};

}  // namespace vx
