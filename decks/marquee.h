#pragma once
// Scrolling song titles. Titles are UTF-8; positions and widths count characters, not bytes,
// so a Japanese title scrolls one character at a time like a Latin one.
#include <string>

namespace vx::decks {

// 1-based character position of the first "." in `name`, 0 when there is none.
int firstDotPosition(const std::string& name);

// Up to `count` characters of `name` starting at character `start` (1-based); "" past the end.
std::string midChars(const std::string& name, int start, int count);

// One scroll step of a title that is wider than its label. The title scrolls only when its first
// "." lies beyond `limit` characters; then `text` receives the `window` characters shown in this
// step and `marqueeTick` advances, one character every 10 ticks, starting again after the last
// window that still reaches the ".". Returns false (and changes nothing) for a title that fits.
bool scrollTitle(const std::string& name, int& marqueeTick, int window, int limit, std::string& text);

}  // namespace vx::decks
