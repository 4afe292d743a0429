// The deck transport driven through the buttons' events, as the window and the driver raise them.
#include <gtest/gtest.h>

#include <limits>

#include "decks/transport.h"
#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

using Calls = std::vector<std::string>;

class TransportTest : public ::testing::Test {
 protected:
  TestProgram t;
  FakeMediaPlayer& a = t.player(0);

  void SetUp() override {
    t.addSong(0, "/music/a.mp3");
    t.p.monitor.monitorSampleRate = 1000;
    t.clearCalls();
  }
  form::Picture& button(const char* name, int deck = 0) { return t.form().picture(name, deck); }
  std::string caption(const char* name, int deck = 0) { return t.form().label(name, deck).caption(); }
  void down(const char* name, int deck = 0) { button(name, deck).events.mouseDown({}); }
  void up(const char* name, int deck = 0) { button(name, deck).events.mouseUp({}); }
  void pressPlay(int deck = 0) { down("Pause", deck); up("Pause", deck); }
  void pressCue(int deck = 0) { down("Play", deck); up("Play", deck); }
  void stop(int deck = 0) { button("Stop", deck).events.click(); }
  std::string entry(songlist::Column c, int deck = 0) { return songlist::SongList(t.p.main, deck).selectedValue(c); }
  void flags(bool cueStandby, bool holdActive, bool stutterArmed) {
    EXPECT_EQ(t.p.deck[0].cueStandby, cueStandby);
    EXPECT_EQ(t.p.deck[0].holdActive, holdActive);
    EXPECT_EQ(t.p.deck[0].stutterArmed, stutterArmed);
  }
  // The player's transport calls; the volumes the mixer sets on the way are its own tests' matter.
  Calls transport(const FakeMediaPlayer& player) const {
    Calls out;
    for (const std::string& c : player.calls)
      if (c.rfind("volume=", 0) != 0) out.push_back(c);
    return out;
  }
  // Playing from `seconds`, with the recorded calls forgotten.
  void playingAt(double seconds) {
    pressPlay();
    a.position = seconds;
    t.clearCalls();
  }
};

TEST_F(TransportTest, PlayStartsALoadedDeckAndShowsItsLength) {
  double top = button("Pause").top();
  t.p.deck[0].deckIdle = true;
  t.p.lastPlayedDeck = 1;
  down("Pause");
  EXPECT_EQ(transport(a), Calls{"play"});
  EXPECT_EQ(t.monitor.calls, Calls{"play"});
  EXPECT_EQ(button("Pause").picture(), "play2.bmp");
  EXPECT_EQ(button("Pause").top(), top + 10);
  EXPECT_EQ(caption("Totaltime"), "/03'00");
  EXPECT_FALSE(t.p.deck[0].deckIdle);
  EXPECT_EQ(t.p.lastPlayedDeck, 0);
  flags(false, false, false);
  up("Pause");
  EXPECT_EQ(button("Pause").top(), top);
}

TEST_F(TransportTest, PlayWhilePlayingFreezesOnTheMarkAndPlayAgainResumesThere) {
  playingAt(42.5);
  pressPlay();
  EXPECT_TRUE(transport(a).empty()) << "freezing must not pause the sound";
  EXPECT_EQ(t.p.deck[0].markPosition, 42.5);
  EXPECT_EQ(t.p.deck[0].jogBase, 42.5);
  flags(false, true, true);

  a.position = 42.6;  // where the stutter left it
  pressPlay();
  EXPECT_EQ(transport(a), (Calls{"stop", "play"}));
  EXPECT_EQ(a.position, 42.6);
  EXPECT_EQ(button("Play").picture(), "cue2.bmp");
  flags(false, false, false);
}

TEST_F(TransportTest, CueParksAPlayingDeckAtTheMarkAndHoldingCuePreviewsFromThere) {
  t.p.deck[0].markPosition = 7;
  playingAt(30);
  down("Play");
  EXPECT_EQ(transport(a), (Calls{"pause", "position=0", "position=7"}));
  EXPECT_EQ(t.monitor.calls, (Calls{"pause", "setPlaySamples 7000", "pause"}));
  EXPECT_EQ(button("Pause").picture(), "play1.bmp");
  EXPECT_EQ(button("Play").picture(), "cue2.bmp");
  EXPECT_EQ(caption("lbfilename"), "CUE STAND BY!");
  flags(true, true, false);

  up("Play");  // parked, not playing: release only re-seeks to the cue point
  t.clearCalls();
  down("Play");
  EXPECT_EQ(transport(a), Calls{"play"});
  EXPECT_EQ(t.monitor.calls, Calls{"restart"});
  EXPECT_EQ(t.p.monitor.monitorState, 3);
  t.clearCalls();
  a.position = 9;
  up("Play");
  EXPECT_EQ(transport(a), (Calls{"pause", "position=0"}));
  EXPECT_EQ(t.monitor.calls, (Calls{"pause", "setPlaySamples 0"}));
  EXPECT_EQ(caption("Totaltime"), "/03'00");
  flags(true, true, false);
}

// The usual pre-listen: a song just loaded (the monitor holds it stopped), parked with CUE, then
// CUE held. The headphones must sound from the parked place, not stay silent.
TEST_F(TransportTest, HoldingCueOnADeckParkedBeforeItEverPlayedStartsTheMonitor) {
  t.monitor.pauseOnlyWhilePlaying = true;
  t.p.deck[0].markPosition = 4;
  pressCue();
  ASSERT_TRUE(t.p.deck[0].cueStandby);
  ASSERT_EQ(t.monitor.state, 0);
  t.clearCalls();
  down("Play");
  EXPECT_EQ(t.monitor.calls, Calls{"play"});
  EXPECT_EQ(t.monitor.state, 1);
  EXPECT_EQ(t.p.monitor.monitorState, 3);
  up("Play");
  EXPECT_EQ(t.monitor.state, 2);
}

TEST_F(TransportTest, CueReleaseOnASongWithoutCuePointSeeksToTheStartNotBeforeIt) {
  ASSERT_EQ(entry(songlist::Cue), "-1");
  pressCue();
  EXPECT_EQ(transport(a), (Calls{"position=0", "position=0", "position=0"}));
  EXPECT_EQ(a.position, 0);
}

TEST_F(TransportTest, CuePointIsCutToWholeMillisecondsDownward) {
  songlist::SongList(t.p.main, 0).setValue(songlist::Cue, 0, " 12.3459");
  pressCue();
  EXPECT_EQ(t.p.deck[0].jogBase, 12.345);
  EXPECT_EQ(transport(a).back(), "position=12.345");
}

TEST_F(TransportTest, PlayFromStandbyResumesWithoutTakingOverLastPlayedDeck) {
  pressCue();
  t.p.lastPlayedDeck = 1;
  t.clearCalls();
  pressPlay();
  EXPECT_EQ(transport(a), Calls{"play"});
  EXPECT_EQ(t.p.lastPlayedDeck, 1);
  flags(false, false, false);
}

TEST_F(TransportTest, StopFromAnyStateReturnsToLoadedAtTheStart) {
  for (int state = 0; state < 3; ++state) {
    playingAt(20);
    if (state >= 1) pressPlay();  // frozen
    if (state == 2) pressCue();   // parked
    t.clearCalls();
    stop();
    SCOPED_TRACE(state);
    EXPECT_EQ(transport(a), (Calls{"stop", "position=0"}));
    EXPECT_EQ(t.monitor.calls, Calls{"stop"});
    flags(false, false, false);
    EXPECT_TRUE(t.p.deck[0].deckIdle);
    EXPECT_EQ(caption("text2"), "a.mp3");
    EXPECT_EQ(caption("Totaltime"), "");
    EXPECT_EQ(button("Pause").picture(), "play1.bmp");
  }
}

TEST_F(TransportTest, StopButtonPicturesFollowTheMouse) {
  down("Stop");
  EXPECT_EQ(button("Stop").picture(), "stop2.bmp");
  up("Stop");
  EXPECT_EQ(button("Stop").picture(), "stop1.bmp");
  EXPECT_TRUE(transport(a).empty()) << "only the click stops";
}

TEST_F(TransportTest, MonitorFollowsOnlyItsOwnDeck) {
  t.addSong(1, "/music/b.mp3");
  t.clearCalls();
  pressPlay(1);
  t.player(1).position = 2;
  pressCue(1);  // pauses and parks deck B: the headphones keep playing deck A's song
  down("Play", 1);
  up("Play", 1);
  stop(1);
  EXPECT_TRUE(t.monitor.calls.empty());
  t.p.monitor.monitorOn = false;
  pressPlay(0);
  pressCue(0);
  stop(0);
  EXPECT_TRUE(t.monitor.calls.empty());
}

TEST_F(TransportTest, EmptyDeckOnlyChangesPicturesIdleFlagAndLength) {
  FakeMediaPlayer& b = t.player(1);
  t.p.deck[1].deckIdle = true;
  pressPlay(1);
  pressCue(1);
  EXPECT_TRUE(b.calls.empty());
  EXPECT_TRUE(t.monitor.calls.empty());
  EXPECT_EQ(button("Pause", 1).picture(), "play2.bmp");
  EXPECT_EQ(button("Play", 1).picture(), "cue2.bmp");
  EXPECT_EQ(caption("Totaltime", 1), "/00'00");
  EXPECT_FALSE(t.p.deck[1].deckIdle);
  EXPECT_EQ(t.p.lastPlayedDeck, 0);
  EXPECT_FALSE(t.p.deck[1].cueStandby);
}

class MarkStoreTest : public TransportTest {
 protected:
  // Frozen at 61.25 s in the given mode, then CUE.
  void freezeAndCue(const char* mode) {
    t.form().label("modelabel", 0).setCaption(mode);
    playingAt(61.25);
    pressPlay();
    t.clearCalls();
    down("Play");
  }
};

TEST_F(MarkStoreTest, EachModeWritesItsOwnPoint) {
  freezeAndCue("CUE");
  EXPECT_EQ(entry(songlist::Cue), " 61.25");
  EXPECT_EQ(entry(songlist::Start), "-1");

  freezeAndCue("END");
  EXPECT_EQ(entry(songlist::End), " 61.25");
  EXPECT_FALSE(a.called("selend=61.25"));
}

TEST_F(MarkStoreTest, StartWritesTheSelectionStartAndStillParksAtTheMark) {
  songlist::SongList(t.p.main, 0).setValue(songlist::Cue, 0, "5");
  freezeAndCue("START");
  EXPECT_EQ(entry(songlist::Start), " 61.25");
  EXPECT_EQ(entry(songlist::Cue), "5");
  EXPECT_EQ(transport(a), (Calls{"pause", "selstart=61.25", "position=5", "position=61.25"}));
  EXPECT_EQ(t.p.deck[0].jogBase, 5);
}

TEST_F(MarkStoreTest, ResetClearsStartAndEndButSetsTheCueToZero) {
  songlist::SongList list(t.p.main, 0);
  list.setValue(songlist::Start, 0, "3");
  list.setValue(songlist::End, 0, "90");
  freezeAndCue("RESET");
  EXPECT_EQ(entry(songlist::Cue), "0");
  EXPECT_EQ(entry(songlist::Start), "-1");
  EXPECT_EQ(entry(songlist::End), "-1");
  EXPECT_TRUE(a.called("selstart=-1"));
  EXPECT_TRUE(a.called("selend=-1"));
}

TEST_F(MarkStoreTest, WithoutSelectedSongNothingIsStored) {
  songlist::SongList(t.p.main, 0).select(-1);
  freezeAndCue("START");
  EXPECT_FALSE(a.called("selstart=61.25"));
  EXPECT_EQ(songlist::SongList(t.p.main, 0).value(songlist::Start, 0), "-1");
}

TEST_F(TransportTest, ModeLabelCyclesThroughExactlyFourCaptions) {
  form::Label& mode = t.form().label("modelabel", 1);
  std::vector<std::string> seen{mode.caption()};
  for (int i = 0; i < 4; ++i) {
    mode.events.click();
    seen.push_back(mode.caption());
  }
  EXPECT_EQ(seen, (Calls{"CUE", "START", "END", "RESET", "CUE"}));
  mode.setCaption("other");
  mode.events.click();
  EXPECT_EQ(mode.caption(), "other");
  EXPECT_EQ(t.form().label("modelabel", 0).caption(), "CUE");
}

TEST(TotalTimeText, RoundsToWholeSecondsHalvesToEven) {
  EXPECT_EQ(decks::totalTimeText(205.4), "/03'25");
  EXPECT_EQ(decks::totalTimeText(204.5), "/03'24");
  EXPECT_EQ(decks::totalTimeText(59.5), "/01'00");
  EXPECT_EQ(decks::totalTimeText(6000), "/100'00");
  EXPECT_EQ(decks::totalTimeText(0), "/00'00");
  EXPECT_EQ(decks::totalTimeText(-3), "/00'00");
  EXPECT_EQ(decks::totalTimeText(std::numeric_limits<double>::quiet_NaN()), "/00'00");
}

}  // namespace
}  // namespace vx::test
