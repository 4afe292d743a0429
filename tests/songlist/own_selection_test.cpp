// Each of the seven lists keeps its own selection. A loaded list file selects only its path
// lists, so until the next press or step no deck operation may find an entry in the others: a
// deck holding a song from before the load keeps showing that song, and nothing it does is
// written into the first entry of the new list.
#include <filesystem>
#include <fstream>

#include "decks/monitor_select.h"
#include "decks/pitch.h"
#include "decks/transport.h"
#include "play/loading.h"
#include "play/tick.h"
#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;
using songlist::Columns;

constexpr const char* kHeld = "/music/held-song-title.mp3";

class OwnSelectionTest : public SongListTest {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-own-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));

  // Deck A holds a song of its own, then a list file of songs firstsong0.. (A) and b0.. (B) is
  // loaded; the lists as loaded are kept in `loaded`.
  void SetUp() override {
    fs::create_directories(dir);
    // Continuous play would start deck A on the first tick: deck B holds no song.
    p.main.menu("autoplay2").setChecked(false);
    t.addSong(0, kHeld);
    p.deck[0].deckIdle = true;
    loadListFile();
    loaded = list(0).columns();
  }
  void TearDown() override { fs::remove_all(dir); }

  void loadListFile() {
    const auto file = (dir / "set.lis").string();
    std::ofstream(file, std::ios::binary) << crlfText(blockLines(3, "firstsong")) + crlfText(blockLines(2, "b"));
    t.dialogs.openAnswers.push_back(file);
    p.main.menu("songlistload").events.click();
  }

  void tick(int n = 1) {
    for (int i = 0; i < n; ++i) play::Timer1_Timer(p);
  }
  std::string caption(const char* name) { return p.main.label(name, 0).caption(); }
  void down(const char* name) { p.main.picture(name, 0).events.mouseDown({}); }
  void up(const char* name) { p.main.picture(name, 0).events.mouseUp({}); }

  // Plays deck A to `seconds`, freezes it there with PLAY and takes the mark with CUE in `mode`.
  void takeMark(const char* mode, double seconds) {
    p.main.label("modelabel", 0).setCaption(mode);
    down("Pause");
    up("Pause");
    t.player(0).position = seconds;
    down("Pause");
    up("Pause");
    down("Play");
    up("Play");
  }

  void pressOnList(int index) {
    p.main.listBox("title1", 0).setListIndex(index);
    p.main.listBox("title1", 0).events.mouseDown({});
  }

  Columns loaded;
};

TEST_F(OwnSelectionTest, ALoadedListFileSelectsOnlyThePathList) {
  EXPECT_EQ(selections(0), (std::vector<int>{0, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(list(0).selected(), 0);
  EXPECT_EQ(list(0).selected(songlist::Cue), -1);
  EXPECT_FALSE(list(0).hasSelection(songlist::Title));
  EXPECT_EQ(list(0).selectedValue(songlist::End), "");
  EXPECT_FALSE(list(0).setSelectedValue(songlist::Cue, "7"));
  EXPECT_EQ(list(0).columns(), loaded);
  EXPECT_EQ(t.player(0).file, kHeld);
}

TEST_F(OwnSelectionTest, TheIdleDeckKeepsScrollingItsOwnTitle) {
  std::vector<std::string> shown;
  for (int i = 0; i < 40; ++i) {
    tick();
    shown.push_back(caption("text2"));
  }
  // One character every ten ticks through "held-song-title.mp3".
  EXPECT_EQ(shown[0], "held-song-t");
  EXPECT_EQ(shown[10], "eld-song-ti");
  EXPECT_EQ(shown[39], "d-song-titl");
}

TEST_F(OwnSelectionTest, MarksTempoAndStopLeaveTheFirstEntryAsStored) {
  for (const char* mode : {"CUE", "START", "END", "RESET"}) takeMark(mode, 12.5);
  decks::PitchUpdatePosition(p, 0, 500);
  ASSERT_NE(p.main.picture("pitchbtn", 0).top(), 2400);
  EXPECT_EQ(list(0).columns(), loaded);
  EXPECT_EQ(list(1).count(), 2);

  // The deck's own player still takes what the marks ask of it.
  EXPECT_TRUE(t.player(0).called("selstart=12.5"));
  p.main.picture("Stop", 0).events.click();
  EXPECT_EQ(caption("text2"), "held-song-title.mp3");
}

TEST_F(OwnSelectionTest, CueWithoutASelectedCuePointGoesToTheStartOfTheSong) {
  // The first entry's cue point (0.5 s) belongs to another song.
  down("Pause");
  up("Pause");
  t.player(0).position = 30;
  down("Play");
  up("Play");
  EXPECT_EQ(t.player(0).position, 0);
}

TEST_F(OwnSelectionTest, TheMonitorOpensTheSongTheDeckHolds) {
  p.monitor.monitorOn = true;
  decks::Imgmonitor_Click(p, 0);
  EXPECT_TRUE(t.monitor.called("open " + std::string(kHeld))) << ::testing::PrintToString(t.monitor.calls);
}

// Active once the end handling of automatic mixing stops an ended deck.
TEST_F(OwnSelectionTest, TheFirstEntrysEndPointDoesNotEndTheDeck) {
  if (!endHandlingBuilt()) GTEST_SKIP() << "end handling not built yet";

  p.main.menu("autoplay2").setChecked(true);
  ASSERT_EQ(list(0).value(songlist::End, 0), "100");
  t.player(0).state = platform::Playing;
  t.player(0).position = 150;
  t.clearCalls();
  tick();
  EXPECT_FALSE(t.player(0).called("stop"));
}

TEST_F(OwnSelectionTest, APressOnTheListSelectsAllSevenAndMarksGoToThatEntry) {
  pressOnList(1);
  EXPECT_EQ(selections(0), all(1));
  takeMark("CUE", 12.5);
  EXPECT_EQ(list(0).value(songlist::Cue, 1), " 12.5");
  EXPECT_EQ(list(0).value(songlist::Cue, 0), loaded[songlist::Cue][0]);
}

TEST_F(OwnSelectionTest, AStepSelectsAllSevenAndTheDeckActsOnTheNewEntry) {
  // The path list selects the first entry, so the step goes to the second.
  p.main.picture("SongNext", 0).events.click();
  EXPECT_EQ(selections(0), all(1));
  EXPECT_EQ(t.player(0).file, "/music/firstsong1.mp3");
  EXPECT_EQ(caption("text2"), "firstsong1.mp3");
  takeMark("END", 20.25);
  EXPECT_EQ(list(0).value(songlist::End, 1), " 20.25");
  list(0).setValue(songlist::Cue, 1, "3");
  down("Play");
  up("Play");
  EXPECT_EQ(t.player(0).position, 3);
}

TEST_F(OwnSelectionTest, ALoadWithOnlyThePathListSelectedTakesNoValueFromTheOtherLists) {
  // Entry 0 stores tempo 90, start 0.25, cue 0.5: none of them is selected.
  const double knob = p.main.picture("pitchbtn", 0).top();
  t.player(0).selStart = 4;
  ASSERT_TRUE(play::title1_DblClick(p, 0));
  EXPECT_EQ(t.player(0).file, "/music/firstsong0.mp3");
  EXPECT_EQ(p.main.picture("pitchbtn", 0).top(), knob);
  EXPECT_EQ(t.player(0).selStart, -1);
  EXPECT_EQ(caption("text2"), "firstsong0.mp3");
  EXPECT_EQ(p.main.picture("Play", 0).picture(), "cue1.bmp");
  EXPECT_EQ(list(0).columns(), loaded);
}

}  // namespace
}  // namespace vx::test
