// The main window's reactions to the players' events.
#include <gtest/gtest.h>

#include "tests/support/test_program.h"

namespace vx::test {
namespace {

class PlayerEventsTest : public ::testing::Test {
 protected:
  TestProgram t;
  void SetUp() override {
    t.addSong(1, "/music/b side.mp3");
    t.p.monitor.monitorSampleRate = 44100;
    t.clearCalls();
  }
  std::string shownName(int deck) { return t.form().label("lbfilename", deck).caption(); }
};

TEST_F(PlayerEventsTest, PlayingDeckShowsItsSelectedSongAndOtherStatesClearIt) {
  t.player(1).state = platform::Playing;
  t.player(1).raisePlayStateChange(0, 0);  // the state is read from the player, not the event
  EXPECT_EQ(shownName(1), "b side.mp3");
  EXPECT_EQ(shownName(0), "");
  for (int state : {platform::Paused, platform::Stopped, platform::Waiting}) {
    t.form().label("lbfilename", 1).setCaption("CUE STAND BY!");
    t.player(1).state = state;
    t.player(1).raisePlayStateChange(2, state);
    EXPECT_EQ(shownName(1), "") << state;
  }
}

TEST_F(PlayerEventsTest, ADeckParkedAtItsCuePointKeepsTheStandbyText) {
  t.p.deck[1].cueStandby = true;
  t.form().label("lbfilename", 1).setCaption("CUE STAND BY!");
  t.player(1).state = platform::Paused;
  t.player(1).raisePlayStateChange(2, 1);
  EXPECT_EQ(shownName(1), "CUE STAND BY!");
  t.player(1).state = platform::Playing;  // cue preview: the song's name while it sounds
  t.player(1).raisePlayStateChange(1, 2);
  EXPECT_EQ(shownName(1), "b side.mp3");
}

TEST_F(PlayerEventsTest, PositionChangeMovesTheMonitorOnlyForTheMonitoredDeck) {
  t.player(1).raisePositionChange(0, 2.5);
  EXPECT_TRUE(t.monitor.calls.empty());
  t.p.monitor.monitorDeck = 1;
  t.player(1).raisePositionChange(0, 2.5);
  EXPECT_EQ(t.monitor.calls, std::vector<std::string>{"setPlaySamples 110250"});
  t.clearCalls();
  t.p.monitor.monitorOn = false;
  t.player(1).raisePositionChange(2.5, 3);
  EXPECT_TRUE(t.monitor.calls.empty());
}

TEST_F(PlayerEventsTest, BothPlayersReportToTheProgram) {
  EXPECT_NE(t.player(0).listener, nullptr);
  EXPECT_EQ(t.player(0).listener, t.player(1).listener);
  EXPECT_EQ(t.player(0).listener, t.p.playerEvents.get());
}

}  // namespace
}  // namespace vx::test
