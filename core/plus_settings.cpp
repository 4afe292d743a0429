#include "core/plus_settings.h"

#include <charconv>
#include <filesystem>

namespace vx {

void PlusSettings::load(const std::string& path, std::vector<std::string>& messages) {
  path_ = path;
  file_ = basic::IniFile();
  changed_ = false;
  std::error_code ec;
  found_ = !path.empty() && std::filesystem::exists(path, ec);
  if (found_ && !file_.load(path, messages)) file_ = basic::IniFile();
}

bool PlusSettings::save(std::string* error) {
  if (!changed_ || path_.empty()) return true;
  if (!file_.save(path_, error)) return false;
  changed_ = false;
  found_ = true;
  return true;
}

std::string PlusSettings::get(std::string_view section, std::string_view key, std::string_view fallback) const {
  return file_.get(section, key, fallback);
}

bool PlusSettings::flag(std::string_view section, std::string_view key, bool fallback) const {
  const auto v = file_.get(section, key);
  if (v == "1") return true;
  if (v == "0") return false;
  return fallback;
}

long PlusSettings::number(std::string_view section, std::string_view key, long fallback, long low, long high) const {
  const auto v = file_.get(section, key);
  if (!v) return fallback;
  long n = 0;
  const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
  if (ec != std::errc() || end != v->data() + v->size() || n < low || n > high) return fallback;
  return n;
}

void PlusSettings::set(std::string_view section, std::string_view key, std::string_view value) {
  if (file_.get(section, key) == value) return;
  file_.set(section, key, value);
  changed_ = true;
}

void PlusSettings::setNumber(std::string_view section, std::string_view key, long value) {
  set(section, key, std::to_string(value));
}

}  // namespace vx
