#include "songlist/number_lines.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "songlist/list_block.h"

namespace vx::songlist {
namespace {

// A column of number lines is judged 64 bytes at a time by bit arithmetic, with the line by line
// check behind it. Whatever the lines (plain numbers, numbers the arithmetic leaves to the line
// check, and near misses such as "-", ".", "1.2.3", "1-2" or an empty line), wherever the
// column starts and however its lines end, the verdict must be the line by line one.
class NumberColumns {
 public:
  explicit NumberColumns(unsigned seed) : rng_(seed) {}

  std::string line() {
    const unsigned kind = rng_() % 40;
    if (kind == 0) return nearMiss();
    if (kind < 3) return pick({" 7", "+4", "1E+16", "3D2", "1.5e-07", "12 "});
    return plain();
  }

  // A column of n random lines amid other lines of a text; returns the column's part of it,
  // as a reader hands it over (whole lines with their ends; the last line of the text may lack
  // its end).
  std::string_view column(std::string& text, size_t n) {
    const size_t before = rng_() % 3;
    const bool after = rng_() % 2;
    std::vector<std::string> lines;
    for (size_t i = 0; i < before; ++i) lines.push_back("/music/a b.mp3");
    for (size_t i = 0; i < n; ++i) lines.push_back(line());
    if (after) lines.push_back("/music/c.mp3");
    // One bad line among good ones is the case that matters most.
    if (rng_() % 4 == 0) lines[before + rng_() % n] = nearMiss();
    constexpr std::array<const char*, 3> kEnds{"\r\n", "\n", "\r"};
    for (size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (i + 1 < lines.size() || rng_() % 2) text += kEnds[rng_() % 3];
    }
    basic::LineSplitter in(text);
    std::string_view line;
    for (size_t i = 0; i < before; ++i) in.next(line);
    const size_t from = in.position();
    for (size_t i = 0; i < n; ++i) in.next(line);
    return std::string_view(text).substr(from, in.position() - from);
  }

 private:
  std::string plain() {
    std::string s = rng_() % 4 == 0 ? "-" : "";
    const size_t whole = rng_() % 3 == 0 ? rng_() % 30 : rng_() % 5;
    for (size_t i = 0; i < whole; ++i) s += static_cast<char>('0' + rng_() % 10);
    if (rng_() % 3 == 0 || whole == 0) {
      s += '.';
      const size_t frac = whole == 0 ? 1 + rng_() % 3 : rng_() % 3;
      for (size_t i = 0; i < frac; ++i) s += static_cast<char>('0' + rng_() % 10);
    }
    return s;
  }
  std::string nearMiss() {
    std::string s = plain();
    switch (rng_() % 6) {
      case 0: return pick({"", "-", ".", "-.", "--1", "1..2"});
      case 1: s.insert(rng_() % (s.size() + 1), "."); return s;
      case 2: s.insert(rng_() % (s.size() + 1), "-"); return s;
      case 3: s.insert(rng_() % (s.size() + 1), "x"); return s;
      case 4: s.insert(rng_() % (s.size() + 1), "\xE3\x81\x82"); return s;
      default: return s + "E";
    }
  }
  std::string pick(std::initializer_list<const char*> choices) { return *(choices.begin() + rng_() % choices.size()); }

  std::mt19937 rng_;
};

TEST(NumberLines, AColumnIsJudgedAsLineByLine) {
  NumberColumns columns(5);
  int numbers = 0, notNumbers = 0, vouchedFor = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const auto r = static_cast<size_t>(round);
    const std::string_view lines = columns.column(text, r % 3 == 0 ? 1 + r % 5 : 1 + r % 60);
    bool expected = true;
    basic::LineSplitter in(lines);
    for (std::string_view line; in.next(line);) expected = expected && isNumberText(line);
    ASSERT_EQ(allNumberLines(lines), expected) << "round " << round << ":\n" << lines;
    // Every scan the processor can run vouches alike, and never for a line that is no number.
    const bool vouched = detail::numberScans().back()(lines);
    for (const detail::NumberScan scan : detail::numberScans()) ASSERT_EQ(scan(lines), vouched) << "round " << round;
    ASSERT_TRUE(!vouched || expected) << "round " << round << ":\n" << lines;
    vouchedFor += vouched;
    (expected ? numbers : notNumbers)++;
  }
  // Both verdicts were tried often.
  EXPECT_GT(numbers, 5000);
  EXPECT_GT(notNumbers, 5000);
  EXPECT_GT(vouchedFor, 5000);  // the line by line check is the exception
}

TEST(NumberLines, AnEmptyLineIsNoNumber) {
  EXPECT_TRUE(allNumberLines("1\r\n2\r\n"));
  EXPECT_TRUE(allNumberLines(""));
  for (const char* lines : {"1\r\n2\r\n\r\n", "\r\n", "\n", "\r", "1\n\r2", "1\r\r2\r\n"})
    EXPECT_FALSE(allNumberLines(lines)) << lines;
}

}  // namespace
}  // namespace vx::songlist
