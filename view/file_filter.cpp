#include "view/file_filter.h"

namespace vx::view {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

// The description without a pattern group at its end.
std::string bareDescription(const std::string& description) {
  std::string d = trim(description);
  if (!d.empty() && d.back() == ')') {
    size_t open = d.rfind('(');
    if (open != std::string::npos) d = trim(d.substr(0, open));
  }
  return d;
}

std::string patternList(const std::string& patterns) {
  std::string out;
  for (const std::string& p : split(patterns, ';')) {
    std::string t = trim(p);
    if (t.empty()) continue;
    if (!out.empty()) out += ' ';
    out += t;
  }
  return out;
}

}  // namespace

std::vector<std::string> qtFilters(const std::string& classic) {
  std::vector<std::string> filters;
  std::vector<std::string> parts = split(classic, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns = patternList(parts[i + 1]);
    if (patterns.empty()) continue;
    std::string description = bareDescription(parts[i]);
    filters.push_back(description.empty() ? "(" + patterns + ")" : description + " (" + patterns + ")");
  }
  if (filters.empty()) filters.push_back("(*)");
  return filters;
}

}  // namespace vx::view
