#include "songlist/list_block.h"

#include <cstdint>
#include <vector>

#include "basic/convert.h"
#include "basic/encoding.h"
#include "songlist/number_lines.h"

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

std::optional<int> readCount(basic::LineSplitter& in) {
  std::string_view line;
  if (!in.next(line)) return std::nullopt;
  const auto n = basic::ParseInteger(line);
  if (!n || *n < 0 || *n > kMaxSongs) return std::nullopt;
  return static_cast<int>(*n);
}

// A line break, or a byte that is not UTF-8. Plain ASCII, the common case, is passed in one scan.
bool needsMending(std::string_view value) {
  bool ascii = true;
  for (const char ch : value) {
    if (ch == '\r' || ch == '\n') return true;
    ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
  }
  return !ascii && !basic::isValidUtf8(value);
}

void writeOneLine(std::string_view value, std::string& text) {
  if (!needsMending(value)) {
    text.append(value).append("\r\n");
    return;
  }
  std::string mended = basic::toValidUtf8(value);
  for (char& ch : mended)
    if (ch == '\r' || ch == '\n') ch = ' ';
  text.append(mended).append("\r\n");
}

// The column is written as it stands and then checked whole, which is much faster than value by
// value: the values are all UTF-8 when their text with its CR LFs is, and none holds a line
// break when there are just two line end bytes a value. Where that fails, the column is written
// again value by value, mending what needs it.
void writeColumn(const form::ItemList& items, std::string& text) {
  const size_t from = text.size();
  for (const std::string_view item : items) text.append(item).append("\r\n");
  const std::string_view written = std::string_view(text).substr(from);
  if (basic::countLineEndBytes(written) == 2 * items.size() && basic::isValidUtf8(written)) return;
  text.resize(from);
  for (const std::string_view item : items) writeOneLine(item, text);
}

bool holdsNumbers(Column c) { return c != Path && c != Title; }

// The column's n lines stay where they are in the file's text, which the lists share: a span
// for each line rather than a string. A text beyond the spans' 4 GB reach is no list file.
std::optional<form::ItemList> readColumn(basic::LineSplitter& in, const SharedText& text, size_t n, bool numbers) {
  const size_t from = in.position();
  auto column = form::ItemList::lines(text, in, n);
  if (column && numbers && !allNumberLines(in.text().substr(from, in.position() - from))) return std::nullopt;
  return column;
}

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

std::optional<Columns> readListBlock(basic::LineSplitter& in, const SharedText& text) {
  const auto n = readCount(in);
  if (!n) return std::nullopt;
  Columns block;
  for (int c = 0; c < kColumns; ++c) {
    auto column = readColumn(in, text, static_cast<size_t>(*n), holdsNumbers(static_cast<Column>(c)));
    if (!column) return std::nullopt;
    block[c] = std::move(*column);
  }
  return block;
}

void writeListBlock(const SongList& list, std::string& text) {
  text.append(std::to_string(list.count())).append("\r\n");
  for (int c = 0; c < kColumns; ++c) writeColumn(list.column(static_cast<Column>(c)).items(), text);
}

size_t listBlockSize(const SongList& list) {
  size_t size = 16;
  for (int c = 0; c < kColumns; ++c)
    for (const std::string_view item : list.column(static_cast<Column>(c)).items()) size += item.size() + 2;
  return size;
}

}  // namespace vx::songlist
