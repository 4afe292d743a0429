#include "songlist/list_block.h"

#include "basic/encoding.h"

#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

using songlist::isNumberText;
using songlist::readListBlock;
using Lines = std::vector<std::string>;

Lines block(int n) { return blockLines(n); }

// The lines as a file holds them, read by the splitter the readers use.
struct TextIn {
  static songlist::SharedText join(const Lines& lines) {
    std::string all;
    for (const auto& line : lines) all += line + "\r\n";
    return std::make_shared<const std::string>(std::move(all));
  }
  explicit TextIn(const Lines& lines) : text(join(lines)) {}
  songlist::SharedText text;
  basic::LineSplitter in{*text};
};

TEST(ListBlockNumbers, AcceptsTheNumbersTheListsHold) {
  for (const char* s : {"100", " 103.5", "-1", ".5", "-.25", "2000", "1E+16", "1.5E-07", "3D2", "  7  ", "+4", "12."})
    EXPECT_TRUE(isNumberText(s)) << s;
  for (const char* s : {"", " ", "abc", "12x", "1,5", ".", "-", "1E", "1E+", "--1", "1 2", "&H10", "0x10"})
    EXPECT_FALSE(isNumberText(s)) << s;
}

TEST(ListBlockRead, ReadsColumnsInOrderAndLeavesTheReaderAfterTheBlock) {
  Lines lines = block(2);
  lines.push_back("next");
  TextIn file(lines);
  auto& in = file.in;
  const auto b = readListBlock(in, file.text);
  ASSERT_TRUE(b);
  EXPECT_EQ((*b)[songlist::Path], (Lines{"/music/s0.mp3", "/music/s1.mp3"}));
  EXPECT_EQ((*b)[songlist::Title], (Lines{"s0.mp3", "s1.mp3"}));
  EXPECT_EQ((*b)[songlist::End], (Lines{"100", "101"}));
  std::string rest;
  ASSERT_TRUE(in.next(rest));
  EXPECT_EQ(rest, "next");
}

TEST(ListBlockRead, EmptyListIsTheSingleLineZero) {
  TextIn file(Lines{"0"});
  auto& in = file.in;
  const auto b = readListBlock(in, file.text);
  ASSERT_TRUE(b);
  for (const auto& column : *b) EXPECT_TRUE(column.empty());
  EXPECT_TRUE(in.atEnd());
}

TEST(ListBlockRead, RefusesMalformedBlocksWhole) {
  const auto refused = [](Lines lines) {
    TextIn file(lines);
    return !readListBlock(file.in, file.text).has_value();
  };
  EXPECT_TRUE(refused({}));
  EXPECT_TRUE(refused({"two", "a", "b"}));
  EXPECT_TRUE(refused({"-1"}));
  EXPECT_TRUE(refused({"32768"}));
  EXPECT_TRUE(refused({"1.0"}));
  Lines truncated = block(3);
  truncated.pop_back();
  EXPECT_TRUE(refused(truncated));
  Lines countTooLarge = block(2);
  countTooLarge[0] = "3";
  EXPECT_TRUE(refused(countTooLarge));
  Lines badTempo = block(2);
  badTempo[1 + 2 * 2] = "fast";
  EXPECT_TRUE(refused(badTempo));
  Lines badEnd = block(2);
  badEnd.back() = "";
  EXPECT_TRUE(refused(badEnd));
}

TEST(ListBlockRead, AcceptsTheLimitAndBlanksAroundTheCount) {
  Lines lines = block(songlist::kMaxSongs);
  lines[0] = " 32767 ";
  TextIn file(lines);
  const auto b = readListBlock(file.in, file.text);
  ASSERT_TRUE(b);
  EXPECT_EQ((*b)[songlist::Trim].size(), 32767u);
}

class ListBlockWrite : public SongListTest {
 protected:
  Lines written(int deck) {
    std::string text;
    songlist::writeListBlock(list(deck), text);
    EXPECT_TRUE(text.ends_with("\r\n"));
    Lines out;
    basic::LineSplitter in(text);
    for (std::string line; in.next(line);) out.push_back(line);
    return out;
  }
};

TEST_F(ListBlockWrite, TwoSongsAreFifteenLinesColumnAfterColumn) {
  fillList(0, 2);
  EXPECT_EQ(written(0), block(2));
  EXPECT_EQ(written(1), Lines{"0"});
}

TEST_F(ListBlockWrite, ALineBreakInsideAValueCannotShiftTheLinesAfterIt) {
  list(0).append({"/music/a\nb.mp3", "a\r\nb.mp3", "100", "2000", "-1", "-1", "-1"});
  const Lines out = written(0);
  ASSERT_EQ(out.size(), 8u);
  EXPECT_EQ(out[1], "/music/a b.mp3");
  EXPECT_EQ(out[2], "a  b.mp3");
}

// Columns are written whole and checked afterwards; one bad value among hundreds of good ones
// (Japanese names, so the text is far from ASCII) must be mended alone, and the rest written as
// they stand.
TEST_F(ListBlockWrite, OneValueToMendAmongManyIsMendedAlone) {
  for (const std::string_view bad : {"曲\xE3\x81 cut short", "two\rlines", "", "\xFF"}) {
    list(0).clear();
    std::vector<std::string> titles;
    for (int i = 0; i < 300; ++i) titles.push_back("曲 " + std::to_string(i) + " アーティスト");
    titles[137] = std::string(bad);
    for (const auto& title : titles) list(0).append({"/music/" + title + ".mp3", title, "100", "2000", "-1", "-1", "-1"});
    const Lines out = written(0);
    ASSERT_EQ(out.size(), 1u + 7 * 300);
    for (int i = 0; i < 300; ++i) {
      std::string expected = basic::toValidUtf8(titles[static_cast<size_t>(i)]);
      for (char& ch : expected)
        if (ch == '\r' || ch == '\n') ch = ' ';
      EXPECT_EQ(out[static_cast<size_t>(1 + 300 + i)], expected) << i;
    }
  }
}

}  // namespace
}  // namespace vx::test
