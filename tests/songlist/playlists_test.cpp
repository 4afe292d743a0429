#include "songlist/playlists.h"

#include <filesystem>
#include <fstream>

#include "basic/textfile.h"
#include "tempo/tempo_cache.h"
#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class PlaylistTest : public SongListTest {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-playlists-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir / "music" / "sub");
    for (const char* song : {"music/one.mp3", "music/two.flac", "music/sub/three.wav", "music/日本語.mp3", "four.mp3"})
      touch(song);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string file(const std::string& name) { return (dir / name).string(); }
  void touch(const std::string& name) { std::ofstream(file(name), std::ios::binary) << "x"; }
  std::string write(const std::string& name, const std::string& bytes) {
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }
  void drop(int deck, const Strings& paths) { p.main.listBox("title1", deck).events.dragDrop(paths, 0); }
  Strings paths(int deck) { return list(deck).column(songlist::Path).items().strings(); }
};

TEST_F(PlaylistTest, ExtendedM3uWithCrLfBomCommentsAndMixedPathsGivesFileNamesAsTitles) {
  const std::string m3u = write("mix.m3u8", "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:215,Artist - Not The Title\r\n" +
                                                file("music/one.mp3") + "\r\n\r\n# a comment\r\nmusic/two.flac\r\n"
                                                "#EXTINF:-1,x\r\n  music/sub/three.wav  \r\nfile://" +
                                                dir.string() + "/music/%E6%97%A5%E6%9C%AC%E8%AA%9E.mp3\r\n");
  drop(0, {m3u});
  EXPECT_EQ(paths(0), (Strings{file("music/one.mp3"), file("music/two.flac"), file("music/sub/three.wav"),
                               file("music/日本語.mp3")}));
  EXPECT_EQ(titles(0), (Strings{"one.mp3", "two.flac", "three.wav", "日本語.mp3"}));
  EXPECT_EQ(list(0).entry(0).tempo, "100");
  EXPECT_EQ(list(0).selected(), 3);
  EXPECT_EQ(p.player(0).fileName(), file("music/日本語.mp3"));
  EXPECT_TRUE(t.dialogs.messages().empty());
}

TEST_F(PlaylistTest, PlsInCp932WithWindowsPathsFallsBackToTheFileNameBesideThePlaylist) {
  // "日本語.mp3" in CP932, as older Windows players write it.
  const std::string sjisName = "\x93\xfa\x96\x7b\x8c\xea.mp3";
  const std::string pls = write("music/old.pls", "[playlist]\r\nFile1=C:\\Users\\dj\\Music\\one.mp3\r\nTitle1=One\r\n"
                                                 "Length1=200\r\nFile2=sub\\three.wav\r\nFile3=D:\\x\\" + sjisName +
                                                 "\r\nFile4=C:\\gone\\missing.mp3\r\nNumberOfEntries=4\r\nVersion=2\r\n");
  drop(1, {pls});
  EXPECT_EQ(paths(1), (Strings{file("music/one.mp3"), file("music/sub/three.wav"), file("music/日本語.mp3")}));
  EXPECT_EQ(t.dialogs.messages(), Strings{"見つからない曲が 1 曲ありました。"});
}

TEST_F(PlaylistTest, MissingEntriesOfSeveralPlaylistsAreCountedInOneMessage) {
  const std::string a = write("a.m3u", "music/one.mp3\nnothere.mp3\nmusic\n");  // a folder is no song
  const std::string b = write("b.m3u", "four.mp3\r/also/gone.mp3\r");
  drop(0, {a, b, file("music/two.flac")});
  EXPECT_EQ(titles(0), (Strings{"one.mp3", "four.mp3"}));  // .flac is not a dropped music name
  EXPECT_EQ(t.dialogs.messages(), Strings{"見つからない曲が 3 曲ありました。"});
}

TEST_F(PlaylistTest, BadPlaylistsAddNothingAndNeverHang) {
  const std::string self = write("self.m3u", "self.m3u\nother.m3u\n");
  write("other.m3u", "self.m3u\n");
  std::string binary(200000, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 7919) % 256);
  const std::string bin = write("bin.m3u", binary);
  const std::string empty = write("empty.pls", "");
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "gone" + std::to_string(i) + ".mp3\n";
  const std::string longLines = write("long.m3u", std::string(100000, 'a') + "\n" + std::string(100000, '/') + "\n");
  drop(0, {self, bin, empty, write("many.m3u", many), longLines});
  EXPECT_EQ(list(0).count(), 0);
  ASSERT_EQ(t.dialogs.messages().size(), 1u);
  EXPECT_TRUE(t.dialogs.messages()[0].starts_with("見つからない曲が ")) << t.dialogs.messages()[0];
}

TEST_F(PlaylistTest, AnUnreadablePlaylistIsReported) {
  drop(0, {file("absent.m3u")});
  EXPECT_EQ(t.dialogs.messages(), Strings{"プレイリストが読み込めません。"});
}

TEST_F(PlaylistTest, PlaylistChosenInTheListFileDialogAppendsToListA) {
  fillList(0, 1);
  fillList(1, 1);
  const std::string m3u = write("c.m3u", "four.mp3\n");
  t.dialogs.openAnswers.push_back(m3u);
  p.main.menu("songlistload").events.click();
  EXPECT_EQ(titles(0), (Strings{"s0.mp3", "four.mp3"}));
  EXPECT_EQ(list(1).count(), 1);
  EXPECT_EQ(p.lastFolders[1], dir.string() + "/");
}

TEST_F(PlaylistTest, M3u8WrittenFromThePopupReadsBackIntoTheSameSongs) {
  drop(0, {write("in.m3u", "music/one.mp3\nmusic/日本語.mp3\nfour.mp3\n")});
  tempo::storeTempo(p, file("music/one.mp3"), 128, 215.4);  // its length known from its analysis
  t.dialogs.saveAnswers.push_back(file("out"));
  p.main.menu("mnuM3u0").events.click();
  const auto written = basic::readTextLines(file("out.m3u8"));
  ASSERT_TRUE(written.ok);
  EXPECT_EQ(written.lines.size(), 7u);
  EXPECT_EQ(written.lines[0], "#EXTM3U");
  EXPECT_EQ(written.lines[1], "#EXTINF:215,one.mp3");
  EXPECT_EQ(written.lines[3], "#EXTINF:-1,日本語.mp3");
  EXPECT_EQ(written.lines[4], file("music/日本語.mp3"));
  EXPECT_FALSE(fs::exists(file("out.m3u8.tmp")));

  drop(1, {file("out.m3u8")});
  EXPECT_EQ(paths(1), paths(0));
  EXPECT_EQ(titles(1), titles(0));
}

TEST_F(PlaylistTest, M3u8SaveNeedsAnAbsoluteNameAndReportsAFailedWrite) {
  drop(0, {write("in.m3u", "four.mp3\n")});
  t.dialogs.saveAnswers.push_back("relative");
  p.main.menu("mnuM3u0").events.click();
  EXPECT_FALSE(fs::exists("relative.m3u8"));
  t.dialogs.saveAnswers.push_back(file("no-folder/x.M3U8"));
  p.main.menu("mnuM3u0").events.click();
  ASSERT_EQ(t.dialogs.messages().size(), 1u);
  EXPECT_TRUE(t.dialogs.messages()[0].starts_with("プレイリストを保存できませんでした。"));
}

TEST(PlaylistEntries, WindowsPathTriedAsItStandsBeforeItsFileName) {
  Strings asked;
  const songlist::FileTest none = [&asked](const std::string& path) {
    asked.push_back(path);
    return false;
  };
  EXPECT_EQ(songlist::resolvePlaylistEntry("C:\\m\\a.mp3", "/lists/", none), "");
  EXPECT_EQ(asked, (Strings{"C:\\m\\a.mp3", "/lists/a.mp3"}));
  asked.clear();
  songlist::resolvePlaylistEntry("m\\b.mp3", "/lists/", none);
  EXPECT_EQ(asked, (Strings{"/lists/m\\b.mp3", "/lists/m/b.mp3", "/lists/b.mp3"}));
}

}  // namespace
}  // namespace vx::test
