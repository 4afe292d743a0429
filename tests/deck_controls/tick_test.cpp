// The main tick: stutter of frozen decks, the playing checks, the title scrolls and the choice
// between the compact display and the search repeat.
#include "decks/time_display.h"
#include "deck_fixture.h"
#include "songlist/song_list.h"

namespace vx::test {
namespace {

class TickTest : public DeckFixture {
 protected:
  // Ticks (1-based) on which the deck was sent back to its mark.
  std::vector<int> returnTicks(int deck, double mark, int ticks) {
    std::vector<int> returns;
    for (int i = 1; i <= ticks; ++i) {
      t.player(deck).clearCalls();
      tick();
      if (t.player(deck).called("position=" + numText(mark))) returns.push_back(i);
    }
    return returns;
  }
};

TEST_F(TickTest, BothFrozenDecksReturnToTheirMarkAfterTheUsersInterval) {
  frozen(0, 5);
  frozen(1, 7.5);
  EXPECT_EQ(returnTicks(0, 5, 6), (std::vector<int>{3, 6}));
  t.p.deck[0].stutterArmed = false;
  EXPECT_EQ(returnTicks(1, 7.5, 6), (std::vector<int>{3, 6}));

  // Deck B follows a changed interval exactly like deck A does.
  t.p.settings.stutterInterval = 4;
  t.p.deck[1].stutterTick = 0;
  EXPECT_EQ(returnTicks(1, 7.5, 10), (std::vector<int>{5, 10}));
}

TEST_F(TickTest, StutterReturnPlaysAgainAndBlinksTheButtons) {
  frozen(1, 5);
  t.player(1).state = platform::Paused;
  tick(3);
  EXPECT_EQ(t.player(1).state, platform::Playing);
  EXPECT_EQ(t.form().picture("Pause", 1).picture(), "play1.bmp");
  EXPECT_EQ(t.form().picture("Play", 1).picture(), "cue2.bmp");
  tick(3);
  EXPECT_EQ(t.form().picture("Pause", 1).picture(), "play2.bmp");
  EXPECT_EQ(t.form().picture("Play", 1).picture(), "cue1.bmp");
}

TEST_F(TickTest, StutterOfADeckWithoutFileDoesNotStallTheOtherDeck) {
  frozen(0, 5);
  t.player(0).file.clear();
  playing(1, 61.25);
  tick(3);
  EXPECT_EQ(t.player(0).position, 5);
  EXPECT_FALSE(t.player(0).called("play"));
  EXPECT_EQ(t.form().label("text2", 1).caption(), "01'01''250");
}

TEST_F(TickTest, MonitorFollowsOnlyTheStutterOfTheMonitoredDeck) {
  frozen(0, 2);
  frozen(1, 3);
  t.p.monitor.monitorSampleRate = 44100;
  t.p.monitor.monitorDeck = 1;
  tick(3);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"setPlaySamples 132300", "play"}));
}

TEST_F(TickTest, FrozenDeckSkipsTimeDisplayAndEndPoint) {
  frozen(0, 5);
  // Without continuous play: its check would Switch onto the frozen deck (B is empty), and a
  // Switch starts its target playing on.
  t.form().menu("autoplay2").setChecked(false);
  t.p.settings.stutterInterval = 100;
  t.form().label("text2", 0).setCaption("- Velvox -");
  songlist::SongList(t.p.main, 0).setValue(songlist::End, 0, "1");
  tick();
  EXPECT_EQ(t.form().label("text2", 0).caption(), "- Velvox -");
}

// The end point ends the song through the end handling of automatic mixing; the test is active
// once that handling stops an ended deck.
TEST_F(TickTest, PassedEndPointEndsTheSong) {
  if (!endHandlingBuilt()) GTEST_SKIP() << "end handling not built yet";

  t.form().menu("autoplay2").setChecked(true);
  t.form().menu("autocrossfadeplay").setChecked(false);
  playing(1, 10);
  playing(0, 30.5);
  songlist::SongList(t.p.main, 0).setValue(songlist::End, 0, "30");
  tick();
  EXPECT_TRUE(t.player(0).called("stop"));
}

TEST_F(TickTest, TimeDisplayElapsedCountdownAndLongSongs) {
  playing(0, 205.12);
  decks::timecounter(t.p, 0);
  EXPECT_EQ(t.form().label("text2", 0).caption(), "03'25''120");
  t.player(0).length = 300;
  t.player(0).position = 94.875;
  t.form().menu("countdown").setChecked(true);
  decks::timecounter(t.p, 0);
  EXPECT_EQ(t.form().label("text2", 0).caption(), "03'25''125");
  t.form().menu("countdown").setChecked(false);
  t.player(0).position = 6000.5;
  decks::timecounter(t.p, 0);
  EXPECT_EQ(t.form().label("text2", 0).caption(), "100'00''500");
}

TEST_F(TickTest, LongTitleScrollsOneCharacterPerTenTicksAndStartsAgain) {
  playing(0, 1, "/music/0123456789abcdefg.mp3");  // first "." at character 18
  auto& label = t.form().label("lbfilename", 0);
  tick(10);
  EXPECT_EQ(label.caption(), "0123456789abcdefg.m");
  tick();
  EXPECT_EQ(label.caption(), "123456789abcdefg.mp");
  tick(10);
  EXPECT_EQ(label.caption(), "23456789abcdefg.mp3");
  tick(10);
  EXPECT_EQ(label.caption(), "0123456789abcdefg.m");
}

TEST_F(TickTest, TitleWithItsDotAtCharacterSixteenDoesNotScroll) {
  playing(0, 1, "/music/0123456789abcde.mp3");
  t.form().label("lbfilename", 0).setCaption("kept");
  tick(40);
  EXPECT_EQ(t.form().label("lbfilename", 0).caption(), "kept");
}

TEST_F(TickTest, IdleTitleScrollCountsCharactersNotBytes) {
  t.addSong(1, "/music/あいうえおかきくけこ.mp3");
  t.p.deck[1].deckIdle = true;
  tick();
  EXPECT_EQ(t.form().label("text2", 1).caption(), "あいうえおかきくけこ.");
  tick(10);
  EXPECT_EQ(t.form().label("text2", 1).caption(), "いうえおかきくけこ.m");
}

TEST_F(TickTest, CompactModesShowTheLastPlayedDeckAndHoldTheSearch) {
  playing(1, 125.9, "/music/b.mp3");
  t.p.lastPlayedDeck = 1;
  t.p.deck[1].searchForwardHeld = true;
  t.p.window.barMode = true;
  tick(4);
  EXPECT_EQ(t.form().label("bartime").caption(), "02:05");
  EXPECT_EQ(t.player(1).position, 125.9);
  t.p.window.miniMode = true;
  tick();
  EXPECT_EQ(t.form().caption, "02:05  b.mp3");
}

TEST_F(TickTest, PitchLockCountsDownToZero) {
  t.p.pitchLockTicks = 8;
  tick(7);
  EXPECT_EQ(t.p.pitchLockTicks, 1);
  tick(3);
  EXPECT_EQ(t.p.pitchLockTicks, 0);
}

}  // namespace
}  // namespace vx::test
