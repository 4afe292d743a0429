#include "songlist/list_block.h"

#include "basic/convert.h"
#include "basic/encoding.h"

namespace vx::songlist {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t skipBlanks(std::string_view s, size_t i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return i;
}

size_t skipDigits(std::string_view s, size_t i) {
  while (i < s.size() && isDigit(s[i])) ++i;
  return i;
}

size_t skipSign(std::string_view s, size_t i) { return i < s.size() && (s[i] == '+' || s[i] == '-') ? i + 1 : i; }

// The end of the exponent starting at i, or npos when what starts there is not one.
size_t skipExponent(std::string_view s, size_t i) {
  if (i >= s.size() || (s[i] != 'E' && s[i] != 'e' && s[i] != 'D' && s[i] != 'd')) return i;
  const size_t digits = skipSign(s, i + 1);
  const size_t end = skipDigits(s, digits);
  return end == digits ? std::string_view::npos : end;
}

std::optional<int> readCount(const LineSource& next) {
  std::string line;
  if (!next(line)) return std::nullopt;
  const auto n = basic::ParseInteger(line);
  if (!n || *n < 0 || *n > kMaxSongs) return std::nullopt;
  return static_cast<int>(*n);
}

// A line break, or a byte that is not UTF-8. Plain ASCII, the common case, is passed in one scan.
bool needsMending(const std::string& value) {
  bool ascii = true;
  for (const char ch : value) {
    if (ch == '\r' || ch == '\n') return true;
    ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
  }
  return !ascii && !basic::isValidUtf8(value);
}

void writeOneLine(const std::string& value, const LineSink& line) {
  if (!needsMending(value)) {
    line(value);
    return;
  }
  std::string mended = basic::toValidUtf8(value);
  for (char& ch : mended)
    if (ch == '\r' || ch == '\n') ch = ' ';
  line(mended);
}

bool holdsNumbers(Column c) { return c != Path && c != Title; }

}  // namespace

bool isNumberText(std::string_view s) {
  size_t i = skipSign(s, skipBlanks(s, 0));
  const size_t intStart = i;
  i = skipDigits(s, i);
  size_t digits = i - intStart;
  if (i < s.size() && s[i] == '.') {
    const size_t fracStart = ++i;
    i = skipDigits(s, i);
    digits += i - fracStart;
  }
  if (digits == 0) return false;
  i = skipExponent(s, i);
  return i != std::string_view::npos && skipBlanks(s, i) == s.size();
}

std::optional<Columns> readListBlock(basic::TextLineReader& in) {
  return readListBlock([&in](std::string& line) { return in.next(line); });
}

std::optional<Columns> readListBlock(const LineSource& next) {
  const auto n = readCount(next);
  if (!n) return std::nullopt;
  Columns block;
  for (int c = 0; c < kColumns; ++c) {
    auto& column = block[c];
    column.resize(static_cast<size_t>(*n));
    for (auto& value : column) {
      if (!next(value)) return std::nullopt;
      if (holdsNumbers(static_cast<Column>(c)) && !isNumberText(value)) return std::nullopt;
    }
  }
  return block;
}

void writeListBlock(const SongList& list, const LineSink& line) {
  line(std::to_string(list.count()));
  for (int c = 0; c < kColumns; ++c)
    for (const auto& item : list.column(static_cast<Column>(c)).items()) writeOneLine(item, line);
}

}  // namespace vx::songlist
