#include "songlist/adding.h"

#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;

class DropTest : public SongListTest {
 protected:
  void drop(int deck, Strings paths, int shift = 0) {
    p.main.listBox("title1", deck).events.dragDrop(paths, shift);
  }
  std::vector<std::string> messages() { return t.dialogs.messages(); }
};

TEST_F(DropTest, MusicFilesAreAppendedWithFreshValuesAndTheLastIsLoaded) {
  p.settings.initialTrim = 15;
  drop(0, {"/m/a.mp3", "/m/b.txt", "/m/c.wav"});
  EXPECT_EQ(titles(0), (Strings{"a.mp3", "c.wav"}));
  const auto c = list(0).entry(1);
  EXPECT_EQ(c.path, "/m/c.wav");
  EXPECT_EQ(c.tempo + "|" + c.trim + "|" + c.cue + "|" + c.start + "|" + c.end, "100|2500|-1|-1|-1");
  EXPECT_EQ(selections(0), all(1));
  EXPECT_EQ(t.player(0).calls, Strings{"filename=/m/c.wav"});
  EXPECT_EQ(p.main.label("text2", 0).caption(), "c.wav");
  EXPECT_EQ(p.main.label("lbfilename", 0).caption(), "");
  EXPECT_TRUE(t.player(1).calls.empty());
  EXPECT_TRUE(messages().empty());
}

TEST_F(DropTest, ExtensionOfADroppedFileIsCaseSensitiveButFolderPatternsAreNot) {
  drop(0, {"/m/SONG.MP3"});
  EXPECT_EQ(list(0).count(), 0);
  EXPECT_EQ(t.player(0).calls, Strings{"filename="});  // the empty list leaves the deck empty

  t.shell.folders["/m/dir"] = {"/m/dir/SONG.MP3"};
  drop(0, {"/m/dir"});
  EXPECT_EQ(titles(0), Strings{"SONG.MP3"});
  EXPECT_EQ(list(0).entry(0).path, "/m/dir/SONG.MP3");
}

TEST_F(DropTest, FolderAddsPatternAfterPatternInListingOrderButNoMpg) {
  t.shell.folders["/m/d/"] = {"/m/d/1.wav", "/m/d/2.mp3", "/m/d/3.mpg", "/m/d/4.wmd",
                              "/m/d/5.mid", "/m/d/6.Mp3", "/m/d/7.mp3x", "/m/d/mp3"};
  drop(1, {"/m/d/", "/m/single.mpg"});
  EXPECT_EQ(titles(1), (Strings{"2.mp3", "6.Mp3", "1.wav", "5.mid", "4.wmd", "single.mpg"}));
  EXPECT_EQ(list(1).entry(0).path, "/m/d/2.mp3");
}

TEST_F(DropTest, ShiftDealsAFolderIntoBothListsStartingWithTheTarget) {
  t.shell.folders["/m/four"] = {"/m/four/1.mp3", "/m/four/2.mp3", "/m/four/3.mp3", "/m/four/4.mp3"};
  drop(0, {"/m/four"}, form::ShiftKey);
  EXPECT_EQ(titles(0), (Strings{"1.mp3", "3.mp3"}));
  EXPECT_EQ(titles(1), (Strings{"2.mp3", "4.mp3"}));
  // The switch after the fourth file leads back to deck A, whose last append was file 3.
  EXPECT_EQ(t.player(0).calls, Strings{"filename=/m/four/3.mp3"});
  EXPECT_TRUE(t.player(1).calls.empty());
}

TEST_F(DropTest, SameFileTwiceGivesTwoEntriesAndEmptyDataDoesNothing) {
  drop(0, {"/m/a.mp3", "/m/a.mp3"});
  EXPECT_EQ(titles(0), (Strings{"a.mp3", "a.mp3"}));
  t.clearCalls();
  drop(0, {});
  EXPECT_EQ(list(0).count(), 2);
  EXPECT_TRUE(t.player(0).calls.empty());
}

TEST_F(DropTest, AFullListStopsTheDropWithAMessageKeepingWhatWasAdded) {
  songlist::Columns many;
  for (auto& column : many) column.assign(songlist::kMaxSongs - 1, "1");
  ASSERT_TRUE(list(0).appendColumns(many));
  drop(0, {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  EXPECT_EQ(list(0).count(), songlist::kMaxSongs);
  EXPECT_EQ(list(0).entry(songlist::kMaxSongs - 1).title, "a.mp3");
  EXPECT_EQ(messages(), Strings{"ファイルが読み込めません。"});
  EXPECT_EQ(t.dialogs.shown.back().icon, platform::MsgIcon::None);
  EXPECT_TRUE(t.player(0).calls.empty());
  for (int c = 0; c < songlist::kColumns; ++c)
    EXPECT_EQ(list(0).column(songlist::Column(c)).listCount(), songlist::kMaxSongs);
}

TEST_F(DropTest, AnUnreadableFolderEndsTheDropWithAMessage) {
  struct LockedShell : FakeShell {
    bool folderReadable(const std::string& folder) override { return folder != "/m/locked"; }
  } shell;
  shell.folders = {{"/m/locked", {"/m/locked/x.mp3"}}, {"/m/open", {"/m/open/y.mp3"}}};
  p.ports.shell = &shell;
  drop(0, {"/m/a.mp3", "/m/locked", "/m/open"});
  EXPECT_EQ(titles(0), Strings{"a.mp3"});
  EXPECT_EQ(messages(), Strings{"ファイルが読み込めません。"});
  EXPECT_TRUE(t.player(0).calls.empty());
}

TEST_F(DropTest, NamesWithLineBreaksInAFolderAreSkipped) {
  EXPECT_EQ(songlist::folderMusicFiles({"/d/a\nb.mp3", "c.mp3", ".mp3"}), Strings{"c.mp3"});
}

}  // namespace
}  // namespace vx::test
