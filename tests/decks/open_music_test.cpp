// Opening a file into a deck from the open button, the deck's title label and the menus.
#include <gtest/gtest.h>

#include "basic/convert.h"
#include "mixer/channel_strip.h"
#include "mixer/volume_law.h"
#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

class OpenMusicTest : public ::testing::Test {
 protected:
  TestProgram t;
  void open(int deck, std::optional<std::string> answer) {
    t.dialogs.openAnswers.push_back(std::move(answer));
    t.form().picture("Imgadd", deck).events.click();
  }
  songlist::SongList list(int deck) { return songlist::SongList(t.p.main, deck); }
  std::string caption(const char* name, int deck) { return t.form().label(name, deck).caption(); }
};

TEST_F(OpenMusicTest, DialogAsksForMusicFilesStartingInTheMusicFolderOnce) {
  t.shell.folders["/music"] = {};
  open(0, "/songs/a.mp3");
  open(0, std::nullopt);
  ASSERT_EQ(t.dialogs.count("open"), 2);
  const auto& first = t.dialogs.shown[0].file;
  EXPECT_EQ(first.title, "Open music File ");
  EXPECT_EQ(first.filter, "(*.mp3;*.mpg;*.wav;*.mid;*.wma;)|*.mp3;*.mpg;*.wav;*.mid;*.wma;");
  EXPECT_EQ(first.defaultExt, ".*");
  EXPECT_EQ(first.fileName, "");
  EXPECT_EQ(first.initialDir, "/music");
  EXPECT_EQ(t.dialogs.shown[1].file.initialDir, "/songs/");
  EXPECT_EQ(t.p.lastFolders[0], "/songs/");
}

TEST_F(OpenMusicTest, MissingMusicFolderLeavesTheDialogsOwnStart) {
  open(0, std::nullopt);
  EXPECT_EQ(t.dialogs.shown.at(0).file.initialDir, "");
}

TEST_F(OpenMusicTest, CancelOrNoUsableNameChangesNothing) {
  open(0, std::nullopt);
  open(0, "");
  open(0, "*.mp3");
  EXPECT_TRUE(t.player(0).calls.empty());
  EXPECT_EQ(list(0).count(), 0);
  EXPECT_EQ(t.p.lastFolders[0], "");
  EXPECT_EQ(caption("text2", 0), "- Velvox -");
}

TEST_F(OpenMusicTest, FileThePlayerCannotOpenIsNotAdded) {
  t.player(0).failingPaths.insert("/songs/broken.mp3");
  open(0, "/songs/broken.mp3");
  EXPECT_EQ(t.player(0).calls, std::vector<std::string>{"filename=/songs/broken.mp3"});
  EXPECT_EQ(list(0).count(), 0);
  EXPECT_EQ(caption("text2", 0), "- Velvox -");
  EXPECT_EQ(t.p.lastFolders[0], "/songs/");
}

TEST_F(OpenMusicTest, OpenedFileBecomesTheSelectedNewEntryWithFreshValues) {
  t.addSong(0, "/songs/first.mp3");
  t.form().label("lbfilename", 0).setCaption("CUE STAND BY!");
  t.form().label("Totaltime", 0).setCaption("/03'00");
  t.form().picture("pitchbtn", 0).setTop(3000);
  t.form().picture("Play", 0).setPicture("cue2.bmp");
  open(0, "/songs/second song.mp3");

  ASSERT_EQ(list(0).count(), 2);
  songlist::SongEntry e = list(0).entry(1);
  EXPECT_EQ(e.path, "/songs/second song.mp3");
  EXPECT_EQ(e.title, "second song.mp3");
  EXPECT_EQ(basic::Val(e.tempo), 100);  // the pitch, applied afterwards, rewrites it in its own format
  EXPECT_EQ(e.trim, "2000");
  EXPECT_EQ(e.cue, "-1");
  EXPECT_EQ(e.start, "-1");
  EXPECT_EQ(e.end, "-1");
  for (const char* column : songlist::kColumnNames) EXPECT_EQ(t.form().listBox(column, 0).listIndex(), 1) << column;

  EXPECT_EQ(t.player(0).file, "/songs/second song.mp3");
  EXPECT_EQ(caption("text2", 0), "second song.mp3");
  EXPECT_EQ(caption("title", 0), "second song.mp3");
  EXPECT_EQ(caption("lbfilename", 0), "");
  EXPECT_EQ(caption("Totaltime", 0), "");
  EXPECT_EQ(t.form().picture("pitchbtn", 0).top(), 2400);
  EXPECT_EQ(t.form().picture("Play", 0).picture(), "cue1.bmp");
  EXPECT_TRUE(t.p.deck[0].deckIdle);
}

TEST_F(OpenMusicTest, ANewSongPlaysAtItsOwnTrimAtOnce) {
  t.addSong(0, "/songs/first.mp3");
  list(0).setValue(songlist::Trim, 0, "3900");  // the last song was turned far down
  mixer::trimlinedraw(t.p, 0);
  mixer::volcontrol(t.p);
  ASSERT_EQ(t.p.mixer.trimLevel[0], 61);
  open(0, "/songs/second.mp3");
  EXPECT_EQ(t.p.mixer.trimLevel[0], 80);  // the default trim of a new song
  EXPECT_EQ(t.player(0).volume(), -400);
}

TEST_F(OpenMusicTest, ANewSongPlaysAtItsOwnTempoEvenRightAfterAPitchChange) {
  t.player(0).rateValue = 1.1;
  t.p.pitchLockTicks = 8;  // the other deck's knob was just moved
  open(0, "/songs/next.mp3");
  EXPECT_EQ(t.form().picture("pitchbtn", 0).top(), 2400);
  EXPECT_DOUBLE_EQ(t.player(0).rate(), 1.0);
}

TEST_F(OpenMusicTest, MonitorOpensOnlyTheMonitoredDecksFile) {
  t.monitor.sampleRates["/songs/b.mp3"] = 48000;
  t.p.monitor.monitorSampleRate = 22050;
  open(1, "/songs/b.mp3");
  EXPECT_TRUE(t.monitor.calls.empty());
  EXPECT_EQ(t.p.monitor.monitorSampleRate, 22050);

  t.p.monitor.monitorDeck = 1;
  open(1, "/songs/b.mp3");
  // The new song's pitch (the centre) reaches the monitor too.
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"open /songs/b.mp3", "setPitch 100"}));
  EXPECT_EQ(t.p.monitor.monitorSampleRate, 48000);
}

TEST_F(OpenMusicTest, TitleLabelAndMenusOpenIntoTheirDeck) {
  t.dialogs.openAnswers = {"/s/1.mp3", "/s/2.mp3", "/s/3.mp3"};
  t.form().label("text2", 1).events.click();
  t.form().menu("openplayera").events.click();
  t.form().menu("openplayerb").events.click();
  EXPECT_EQ(list(0).count(), 1);
  EXPECT_EQ(list(1).count(), 2);
  EXPECT_EQ(list(1).value(songlist::Path, 1), "/s/3.mp3");
}

}  // namespace
}  // namespace vx::test
