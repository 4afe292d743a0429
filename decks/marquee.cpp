#include "decks/marquee.h"

#include <algorithm>
#include <vector>

namespace vx::decks {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset where each character starts, plus the string's size as a final sentinel.
std::vector<size_t> characterStarts(const std::string& s) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); ++i)
    if (!isContinuationByte(s[i])) starts.push_back(i);
  starts.push_back(s.size());
  return starts;
}

}  // namespace

int firstDotPosition(const std::string& name) {
  int position = 0;
  for (char c : name) {
    if (isContinuationByte(c)) continue;
    ++position;
    if (c == '.') return position;
  }
  return 0;
}

std::string midChars(const std::string& name, int start, int count) {
  auto starts = characterStarts(name);
  int characters = static_cast<int>(starts.size()) - 1;
  if (start < 1 || start > characters || count <= 0) return "";
  int end = std::min(characters, start - 1 + count);
  return name.substr(starts[start - 1], starts[end] - starts[start - 1]);
}

bool scrollTitle(const std::string& name, int& marqueeTick, int window, int limit, std::string& text) {
  int dot = firstDotPosition(name);
  if (dot <= limit) return false;
  text = midChars(name, marqueeTick / 10 + 1, window);
  ++marqueeTick;
  if (marqueeTick / 10 > dot - limit) marqueeTick = 0;
  return true;
}

}  // namespace vx::decks
