#include "songlist/list_file.h"

#include <filesystem>
#include <fstream>

#include "tests/songlist/songlist_fixture.h"
#include "tests/support/cp932_text.h"

namespace vx::test {
namespace {

using songlist::parseListFile;

std::vector<std::string> oneSongBlock(const std::string& path, const std::string& title) {
  return {"1", path, title, "100", "2000", "-1", "-1", "-1"};
}

std::vector<std::string> twoBlocks(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ListFileParse, ReadsBothBlocksWithAnyLineEnds) {
  const auto lines = twoBlocks({"0"}, oneSongBlock("/m/b.wav", "b.wav"));
  for (const std::string& text : {crlfText(lines), crlfText(lines) + "\r\n\r\n", std::string("\xEF\xBB\xBF") + crlfText(lines)}) {
    const auto f = parseListFile(text);
    ASSERT_TRUE(f);
    EXPECT_TRUE((*f)[0][songlist::Path].empty());
    EXPECT_EQ((*f)[1][songlist::Title], std::vector<std::string>{"b.wav"});
  }
  std::string lf;
  for (const auto& l : lines) lf += l + "\n";
  lf.pop_back();  // no line end after the last value
  ASSERT_TRUE(parseListFile(lf));
  EXPECT_EQ((*parseListFile(lf))[1][songlist::End], std::vector<std::string>{"-1"});
}

TEST(ListFileParse, RefusesAFileWhoseCountsDoNotDescribeItsLines) {
  const auto good = twoBlocks(oneSongBlock("/m/a.mp3", "a.mp3"), oneSongBlock("/m/b.mp3", "b.mp3"));
  auto shortB = good;
  shortB.pop_back();
  EXPECT_FALSE(parseListFile(crlfText(shortB)));
  auto extra = good;
  extra.push_back("/m/c.mp3");
  EXPECT_FALSE(parseListFile(crlfText(extra)));
  auto onlyA = oneSongBlock("/m/a.mp3", "a.mp3");
  EXPECT_FALSE(parseListFile(crlfText(onlyA)));
  EXPECT_FALSE(parseListFile(""));
  EXPECT_FALSE(parseListFile("\x89PNG\r\n\x1a\n"));
}

// A list file the old program wrote: both blocks of one-song lists, every line in CP932.
std::string cp932ListFile(const std::string& nameA, const std::string& nameB) {
  return toCp932(crlfText(twoBlocks(oneSongBlock("/music/" + nameA, nameA), oneSongBlock("/music/" + nameB, nameB))));
}

void expectSong(const std::optional<songlist::ListFile>& f, int deck, const std::string& name) {
  ASSERT_TRUE(f);
  EXPECT_EQ((*f)[deck][songlist::Path], std::vector<std::string>{"/music/" + name});
  EXPECT_EQ((*f)[deck][songlist::Title], std::vector<std::string>{name});
}

TEST(ListFileParse, OldCp932FilesReadBackEveryNameAndPathExactly) {
  // ﾐｸ.wav is D0 B8 in CP932, valid UTF-8 on its own; the file as a whole is not.
  const std::vector<std::pair<std::string, std::string>> files{
      {"ﾐｸ.wav", "ﾄﾞﾗﾑ ｿﾛ.wav"},                       // half-width katakana
      {"曲.mp3", "夏の終わり.mp3"},                      // kanji
      {"Track 01 ｱﾝｺｰﾙ 夜明け.wav", "Mix (2003) 曲.mp3"},  // mixed with ASCII
  };
  for (const auto& [a, b] : files) {
    const auto f = parseListFile(cp932ListFile(a, b));
    expectSong(f, 0, a);
    expectSong(f, 1, b);
  }
}

TEST(ListFileParse, Utf8FilesWithAndWithoutByteOrderMarkStayUtf8) {
  // и.wav is D0 B8 in UTF-8: the same bytes as ﾐｸ in CP932.
  const std::string text = crlfText(twoBlocks(oneSongBlock("/music/и.wav", "и.wav"), oneSongBlock("/music/ﾐｸ.wav", "ﾐｸ.wav")));
  for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text}) {
    const auto f = parseListFile(bytes);
    expectSong(f, 0, "и.wav");
    expectSong(f, 1, "ﾐｸ.wav");
  }
}

TEST(ListFileParse, BytesInvalidInEveryEncodingStillKeepTheListsInStep) {
  const auto lines = twoBlocks(oneSongBlock("/m/\xFF\xFE\x80.mp3", "\xFF.mp3"), {"0"});
  const auto f = parseListFile(crlfText(lines));
  ASSERT_TRUE(f);
  for (const auto& column : (*f)[0]) EXPECT_EQ(column.size(), 1u);
}

class ListFileWrite : public SongListTest {
 protected:
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("velvox-listfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(ListFileWrite, WritesBothBlocksAndReadsThemBackValueForValue) {
  fillList(0, 3, "a");
  fillList(1, 2, "b");
  const auto path = (dir / "x.lis").string();
  std::string error;
  ASSERT_TRUE(songlist::writeListFile(path, p.main, &error)) << error;
  const auto f = songlist::readListFile(path);
  ASSERT_TRUE(f);
  EXPECT_EQ((*f)[0], list(0).columns());
  EXPECT_EQ((*f)[1], list(1).columns());
  std::ifstream in(path, std::ios::binary);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "3\r");
}

TEST_F(ListFileWrite, ANameThatIsNotUtf8DoesNotTurnTheOtherNamesIntoCp932) {
  // A folder listing can give a name in raw CP932 bytes ("曲" is 8B C8).
  ASSERT_TRUE(list(0).append(songlist::SongEntry{"/m/\x8B\xC8.mp3", "\x8B\xC8.mp3", "100", "2000", "-1", "-1", "-1"}));
  ASSERT_TRUE(list(1).append(songlist::SongEntry{"/m/夏の終わり.mp3", "夏の終わり.mp3", "100", "2000", "-1", "-1", "-1"}));
  const auto path = (dir / "mixed.lis").string();
  ASSERT_TRUE(songlist::writeListFile(path, p.main, nullptr));
  const auto f = songlist::readListFile(path);
  ASSERT_TRUE(f);
  EXPECT_EQ((*f)[1][songlist::Path], std::vector<std::string>{"/m/夏の終わり.mp3"});
  EXPECT_EQ((*f)[0][songlist::Title], std::vector<std::string>{"\xEF\xBF\xBD\xEF\xBF\xBD.mp3"});
}

TEST_F(ListFileWrite, AFailedWriteKeepsTheEarlierFile) {
  fillList(0, 1);
  fillList(1, 1);
  const auto path = (dir / "keep.lis").string();
  { std::ofstream(path) << "earlier"; }
  // A folder where the temporary file must go makes the write fail, even for root.
  std::filesystem::create_directory(path + ".tmp");
  std::string error;
  EXPECT_FALSE(songlist::writeListFile(path, p.main, &error));
  EXPECT_FALSE(error.empty());
  std::ifstream in(path);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "earlier");
}

}  // namespace
}  // namespace vx::test
