#include "songlist/list_files.h"

#include <filesystem>
#include <fstream>

#include "tests/songlist/songlist_fixture.h"
#include "tests/support/cp932_text.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class ListFilesTest : public SongListTest {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-lists-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  std::string file(const std::string& name) { return (dir / name).string(); }
  void writeFile(const std::string& name, const std::string& text) { std::ofstream(file(name), std::ios::binary) << text; }

  void save(std::optional<std::string> answer) {
    t.dialogs.saveAnswers.push_back(std::move(answer));
    p.main.menu("songlist0").events.click();
  }
  void load(std::optional<std::string> answer) {
    t.dialogs.openAnswers.push_back(std::move(answer));
    p.main.menu("songlistload").events.click();
  }
  static std::string crlfBlock(int n, const std::string& prefix) { return crlfText(blockLines(n, prefix)); }
};

TEST_F(ListFilesTest, SavedAndLoadedListsReproduceEveryValueButNotTheSelections) {
  fillList(0, 3, "a");
  fillList(1, 2, "b");
  list(0).setValue(songlist::Tempo, 1, " 103.5");
  list(1).setValue(songlist::Cue, 0, "12.345");
  const auto before0 = list(0).columns(), before1 = list(1).columns();
  list(0).select(2);
  save(file("set"));
  ASSERT_TRUE(fs::exists(file("set.lis")));
  EXPECT_FALSE(fs::exists(file("set.lis.tmp")));

  t.dialogs.messageAnswers.push_back(platform::MsgResult::Yes);
  p.main.menu("songclear").events.click();
  load(file("set.lis"));
  EXPECT_EQ(list(0).columns(), before0);
  EXPECT_EQ(list(1).columns(), before1);
  EXPECT_EQ(selections(0), (std::vector<int>{0, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(selections(1), (std::vector<int>{0, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(p.lastFolders[1], dir.string() + "/");
}

TEST_F(ListFilesTest, SaveNeedsSongsInBothLists) {
  fillList(0, 2);
  p.main.menu("songlist0").events.click();
  EXPECT_EQ(t.dialogs.messages(), Strings{"曲が読み込まれていません。"});
  EXPECT_EQ(t.dialogs.count("save"), 0);
}

TEST_F(ListFilesTest, SaveNamesGetTheExtensionAndMustBeAbsolute) {
  fillList(0, 1);
  fillList(1, 1);
  save(file("mix"));
  save(file("loud.LIS"));
  save(file("done.lis"));
  save("relative");
  save(std::nullopt);
  EXPECT_TRUE(fs::exists(file("mix.lis")));
  EXPECT_TRUE(fs::exists(file("loud.LIS.lis")));
  EXPECT_TRUE(fs::exists(file("done.lis")));
  EXPECT_FALSE(fs::exists("relative.lis"));
  EXPECT_TRUE(t.dialogs.messages().empty());
  const auto& shown = t.dialogs.shown.front();
  EXPECT_EQ(shown.kind, "save");
  EXPECT_EQ(shown.file.title, "Save list File");
  EXPECT_EQ(shown.file.filter, "(*.lis;)|*.lis;");
}

TEST_F(ListFilesTest, AFailedSaveIsReported) {
  fillList(0, 1);
  fillList(1, 1);
  save(file("missing-folder/x.lis"));
  ASSERT_EQ(t.dialogs.messages().size(), 1u);
  EXPECT_TRUE(t.dialogs.messages()[0].starts_with("ソングリストを保存できませんでした。"));
}

TEST_F(ListFilesTest, LoadDialogStartsInTheLastListFolderAndNoChoiceChangesNothing) {
  fillList(0, 1);
  p.lastFolders[1] = "/lists/";
  load("*.lis");
  load("");
  load(std::nullopt);
  EXPECT_EQ(list(0).count(), 1);
  ASSERT_EQ(t.dialogs.count("open"), 3);
  const auto& spec = t.dialogs.shown.front().file;
  EXPECT_EQ(spec.title, "Open songlist File ");
  EXPECT_EQ(spec.filter, "(*.lis;)|*.lis;");
  EXPECT_EQ(spec.defaultExt, ".*");
  EXPECT_EQ(spec.fileName, "");
  EXPECT_EQ(spec.initialDir, "/lists/");
  EXPECT_EQ(p.lastFolders[1], "/lists/");
}

TEST_F(ListFilesTest, FirstCountZeroLeavesListAEmptyAndFillsB) {
  fillList(0, 2, "old");
  writeFile("b.lis", "0\r\n" + crlfBlock(2, "b"));
  load(file("b.lis"));
  EXPECT_EQ(list(0).count(), 0);
  EXPECT_EQ(titles(1), (Strings{"b0.mp3", "b1.mp3"}));
  expectInStep(1);
}

TEST_F(ListFilesTest, MalformedFilesLoadNothingAndKeepTheListsWithAMessage) {
  fillList(0, 2, "keep");
  fillList(1, 1, "keep");
  const std::string good = crlfBlock(1, "a") + crlfBlock(2, "b");
  writeFile("nan.lis", "many\r\n" + good);
  writeFile("short.lis", good.substr(0, good.size() - 5));
  writeFile("long.lis", crlfBlock(1, "a") + "3\r\n" + crlfBlock(2, "b").substr(3));
  writeFile("over.lis", "32768\r\n0\r\n");
  for (const char* name : {"nan.lis", "short.lis", "long.lis", "over.lis", "absent.lis"}) {
    load(file(name));
    EXPECT_EQ(titles(0), (Strings{"keep0.mp3", "keep1.mp3"})) << name;
    EXPECT_EQ(titles(1), Strings{"keep0.mp3"}) << name;
    expectInStep(0);
    expectInStep(1);
    ASSERT_FALSE(t.dialogs.messages().empty());
    EXPECT_TRUE(t.dialogs.messages().back().starts_with("ソングリストが読み込めません。")) << name;
  }
  EXPECT_EQ(t.dialogs.messages().size(), 5u);
}

TEST_F(ListFilesTest, LoadingLeavesThePlayingDeckAlone) {
  t.addSong(0, "/music/now.mp3");
  t.player(0).state = platform::Playing;
  t.clearCalls();
  writeFile("x.lis", crlfBlock(1, "a") + crlfBlock(1, "b"));
  load(file("x.lis"));
  EXPECT_TRUE(t.player(0).calls.empty());
  EXPECT_EQ(t.player(0).state, platform::Playing);
  EXPECT_EQ(titles(0), Strings{"a0.mp3"});
}

TEST_F(ListFilesTest, AnOldCp932FileLoadsEveryNameAndPathExactlyAndSavesAsUtf8) {
  // ﾐｸ is D0 B8, valid UTF-8 on its own; ソ and 表 end in 5C, the byte of a backslash.
  const Strings a{"ﾐｸ.wav", "Track 01 ｱﾝｺｰﾙ 夜明け.wav"}, b{"夏の終わり.mp3", "ソフト表.wav"};
  auto block = [](const Strings& names) {
    Strings lines{std::to_string(names.size())};
    for (const auto& n : names) lines.push_back("C:\\曲\\" + n);
    lines.insert(lines.end(), names.begin(), names.end());
    for (int c = songlist::Tempo; c < songlist::kColumns; ++c) lines.insert(lines.end(), names.size(), "-1");
    return crlfText(lines);
  };
  writeFile("old.lis", toCp932(block(a) + block(b)));
  load(file("old.lis"));
  EXPECT_EQ(titles(0), a);
  EXPECT_EQ(list(0).value(songlist::Path, 0), "C:\\曲\\ﾐｸ.wav");
  EXPECT_EQ(list(1).column(songlist::Path).items(), (Strings{"C:\\曲\\夏の終わり.mp3", "C:\\曲\\ソフト表.wav"}));

  save(file("new.lis"));
  std::ifstream in(file("new.lis"), std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, block(a) + block(b));
}

TEST_F(ListFilesTest, FullListsRoundTrip) {
  songlist::Columns many;
  for (int c = 0; c < songlist::kColumns; ++c)
    many[c].assign(songlist::kMaxSongs, c < songlist::Tempo ? "/m/x.mp3" : "100");
  ASSERT_TRUE(list(0).appendColumns(many));
  ASSERT_TRUE(list(1).appendColumns(many));
  save(file("full.lis"));
  t.dialogs.messageAnswers.push_back(platform::MsgResult::Yes);
  p.main.menu("songclear").events.click();
  load(file("full.lis"));
  EXPECT_EQ(list(0).count(), songlist::kMaxSongs);
  EXPECT_EQ(list(1).columns(), many);
  EXPECT_TRUE(t.dialogs.messages().size() == 1);  // only the clear question
}

}  // namespace
}  // namespace vx::test
