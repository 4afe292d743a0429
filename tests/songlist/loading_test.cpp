#include "play/loading.h"
#include "play/selection.h"

#include "decks/pitch.h"

#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;

class LoadTest : public SongListTest {
 protected:
  void dblClick(int deck) { p.main.listBox("title1", deck).events.dblClick(); }
  void click(const std::string& name, int deck) { p.main.picture(name, deck).events.click(); }
  double knobTop(int deck) { return p.main.picture("pitchbtn", deck).top(); }
  std::string caption(const std::string& name, int deck) { return p.main.label(name, deck).caption(); }
  std::string picture(const std::string& name, int deck) { return p.main.picture(name, deck).picture(); }

  // Deck B holds one song with the given stored values, selected in all seven lists.
  void storeSong(const std::string& tempo, const std::string& cue, const std::string& start = "-1") {
    list(1).append({"/m/x.mp3", "x.mp3", tempo, "1500", cue, start, "-1"});
    list(1).select(list(1).count() - 1);
  }
};

TEST_F(LoadTest, DoubleClickLoadsTheSongWithEveryStoredValue) {
  p.main.label("lbfilename", 1).setCaption("old");
  p.main.label("Totaltime", 1).setCaption("/03'00");
  p.main.picture("Pause", 1).setPicture("play2.bmp");
  storeSong("110", "3.5", "12.5");
  dblClick(1);
  EXPECT_EQ(t.player(1).calls.front(), "filename=/m/x.mp3");
  EXPECT_TRUE(t.player(1).called("selstart=12.5"));
  EXPECT_FALSE(t.player(1).called("play"));
  EXPECT_DOUBLE_EQ(knobTop(1), 2700);
  EXPECT_TRUE(p.deck[1].deckIdle);
  EXPECT_EQ(caption("lbfilename", 1), "");
  EXPECT_EQ(caption("text2", 1), "x.mp3");
  EXPECT_EQ(caption("Totaltime", 1), "");
  EXPECT_EQ(picture("Pause", 1), "play1.bmp");
  EXPECT_EQ(picture("Play", 1), "cue2.bmp");
}

TEST_F(LoadTest, KnobAndCueLampFollowTheStoredTempoAndCue) {
  storeSong(" 90 ", "-1");
  dblClick(1);
  EXPECT_DOUBLE_EQ(knobTop(1), 2100);
  EXPECT_EQ(picture("Play", 1), "cue1.bmp");
  EXPECT_DOUBLE_EQ(play::pitchKnobTop(100), 2400);
}

TEST_F(LoadTest, NothingSelectedLoadsNothing) {
  fillList(1, 2);
  dblClick(1);
  EXPECT_TRUE(t.player(1).calls.empty());
}

TEST_F(LoadTest, TheMonitoredDeckReopensTheMonitorOthersLeaveItAlone) {
  p.monitor.monitorDeck = 1;
  p.monitor.monitorSampleRate = 22050;
  t.monitor.sampleRates["/m/x.mp3"] = 48000;
  storeSong("100", "-1");
  dblClick(1);
  EXPECT_TRUE(t.monitor.called("open /m/x.mp3"));
  EXPECT_EQ(p.monitor.monitorSampleRate, 48000);

  p.monitor.monitorDeck = 0;
  t.monitor.clearCalls();
  dblClick(1);
  EXPECT_FALSE(t.monitor.called("open /m/x.mp3"));
  EXPECT_EQ(p.monitor.monitorSampleRate, 48000);
}

TEST_F(LoadTest, AFailedMonitorOpenLeavesOnlyTheNewFileInThePlayer) {
  p.monitor.monitorDeck = 1;
  p.monitor.monitorSampleRate = 44100;
  p.main.label("text2", 1).setCaption("previous");
  t.monitor.failingPaths.insert("/m/x.mp3");
  storeSong("110", "5");
  dblClick(1);
  EXPECT_EQ(t.player(1).file, "/m/x.mp3");
  EXPECT_DOUBLE_EQ(knobTop(1), 2400);
  EXPECT_EQ(caption("text2", 1), "previous");
  EXPECT_FALSE(p.deck[1].deckIdle);
  EXPECT_EQ(p.monitor.monitorSampleRate, 44100);
}

TEST_F(LoadTest, TheStoredTempoReachesThePlayerEvenRightAfterAnotherPitchChange) {
  // A pitch change moments ago (this deck's last load, or the other deck's knob) must not leave
  // the knob showing the song's tempo while the player keeps the old rate.
  p.pitchLockTicks = 8;
  storeSong("110", "-1");
  dblClick(1);
  EXPECT_DOUBLE_EQ(knobTop(1), 2700);
  EXPECT_FLOAT_EQ(static_cast<float>(t.player(1).rate()), static_cast<float>(decks::knobRate(2700)));
  EXPECT_EQ(caption("Pitchper", 1), "+06.6%");
  EXPECT_EQ(list(1).value(songlist::Tempo, 0), " 110");

  storeSong("90", "-1");
  dblClick(1);
  EXPECT_FLOAT_EQ(static_cast<float>(t.player(1).rate()), static_cast<float>(decks::knobRate(2100)));
}

TEST_F(LoadTest, AFileThePlayerRefusesStopsTheLoad) {
  t.player(1).failingPaths.insert("/m/x.mp3");
  storeSong("110", "5");
  EXPECT_FALSE(play::title1_DblClick(p, 1));
  EXPECT_DOUBLE_EQ(knobTop(1), 2400);
  play::Nextsong(p, 1);
  EXPECT_FALSE(t.player(1).called("play"));
}

class StepTest : public LoadTest {};

TEST_F(StepTest, AMonitorThatCannotOpenTheSongStillLeavesItHeldPaused) {
  p.monitor.monitorDeck = 0;
  fillList(0, 2);
  t.monitor.failingPaths.insert("/music/s0.mp3");
  play::Nextsong(p, 0);
  EXPECT_EQ(t.player(0).file, "/music/s0.mp3");
  EXPECT_EQ(t.player(0).count("play"), 1);
  EXPECT_EQ(t.player(0).calls.back(), "pause");
  EXPECT_DOUBLE_EQ(knobTop(0), 2400);  // the load itself ended after the monitor
}

TEST_F(StepTest, NextAndPreviousWrapAroundAndHoldTheSongPaused) {
  fillList(0, 3);
  list(0).select(2);
  play::Nextsong(p, 0);
  EXPECT_EQ(selections(0), all(0));
  EXPECT_EQ(t.player(0).calls.front(), "filename=/music/s0.mp3");
  EXPECT_EQ(t.player(0).calls.back(), "pause");
  EXPECT_EQ(t.player(0).count("play"), 1);
  EXPECT_EQ(caption("text2", 0), "s0.mp3");

  t.clearCalls();
  play::Presong(p, 0);
  EXPECT_EQ(selections(0), all(2));
  EXPECT_EQ(t.player(0).file, "/music/s2.mp3");
  EXPECT_EQ(caption("text2", 0), "s2.mp3");
}

TEST_F(StepTest, WithNothingSelectedNextTakesTheFirstAndPreviousNothing) {
  fillList(0, 3);
  play::Presong(p, 0);
  EXPECT_TRUE(t.player(0).calls.empty());
  EXPECT_EQ(selections(0), all(-1));
  play::Nextsong(p, 0);
  EXPECT_EQ(selections(0), all(0));
  EXPECT_EQ(t.player(0).file, "/music/s0.mp3");
}

TEST_F(StepTest, NextAfterOnlyThePathListWasSelectedGoesToTheSecondEntry) {
  fillList(0, 3);
  list(0).column(songlist::Path).setListIndex(0);
  play::Nextsong(p, 0);
  EXPECT_EQ(selections(0), all(1));
  EXPECT_DOUBLE_EQ(knobTop(0), play::pitchKnobTop(91));
}

TEST_F(StepTest, ButtonsStopTheDeckEvenOnAnEmptyList) {
  for (const char* button : {"SongNext", "SongPre"}) {
    t.clearCalls();
    p.deck[1].deckIdle = false;
    click(button, 1);
    EXPECT_EQ(t.player(1).calls, Strings{"stop"}) << button;
    EXPECT_TRUE(p.deck[1].deckIdle) << button;
  }
  fillList(1, 2);
  list(1).select(0);
  t.clearCalls();
  click("SongNext", 1);
  EXPECT_EQ(selections(1), all(1));
  EXPECT_EQ(t.player(1).calls.back(), "stop");
  EXPECT_EQ(t.player(1).state, platform::Stopped);
}

}  // namespace
}  // namespace vx::test
