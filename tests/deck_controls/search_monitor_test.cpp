// The search buttons and the choice of the monitored deck.
#include "decks/search.h"
#include "deck_fixture.h"

namespace vx::test {
namespace {

class SearchTest : public DeckFixture {
 protected:
  void hold(const char* button, int deck) { control(button, deck).events.mouseDown(at(10, 10)); }
  void letGo(const char* button, int deck) { control(button, deck).events.mouseUp(at(10, 10)); }
};

TEST_F(SearchTest, HeldButtonsStepEverySecondTick) {
  playing(0, 0.3);
  playing(1, 10);
  hold("searchL", 0);
  hold("searchR", 1);
  EXPECT_EQ(t.form().picture("searchL", 0).picture(), "sback2.bmp");
  EXPECT_EQ(t.form().picture("searchR", 1).picture(), "sgo2.bmp");
  tick(6);
  EXPECT_EQ(t.player(0).position, 0);  // back from 0.3 lands at 0
  EXPECT_EQ(t.player(1).position, 11.5);
  letGo("searchR", 1);
  EXPECT_EQ(t.form().picture("searchR", 1).picture(), "sgo1.bmp");
  tick(4);
  EXPECT_EQ(t.player(1).position, 11.5);
  t.player(0).position = 5;
  tick(2);
  EXPECT_EQ(t.player(0).position, 4.25);
}

TEST_F(SearchTest, NothingOnADeckThatDoesNotPlay) {
  playing(0, 3);
  t.player(0).state = platform::Paused;
  t.clearCalls();
  decks::searchegnL(t.p, 0);
  decks::searchegnR(t.p, 0);
  EXPECT_TRUE(t.player(0).calls.empty());
  EXPECT_TRUE(t.monitor.calls.empty());
}

TEST_F(SearchTest, ForwardPastTheEndLeavesThePlayerAtItsEnd) {
  playing(0, 179.8);  // the fake reports 180 s
  decks::searchegnR(t.p, 0);
  EXPECT_EQ(t.player(0).position, 180);
}

TEST_F(SearchTest, StepOnTheMonitoredDeckPutsTheMonitorGapTimeAhead) {
  playing(0, 20);
  playing(1, 20);
  t.p.monitor.monitorSampleRate = 44100;
  t.p.settings.gapTime = 25;
  t.clearCalls();
  decks::searchegnR(t.p, 0);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"setPlaySamples 915075"}));
  t.clearCalls();
  decks::searchegnR(t.p, 1);
  EXPECT_TRUE(t.monitor.calls.empty());
}

class MonitorSelectTest : public DeckFixture {
 protected:
  void click(int deck) { control("Imgmonitor", deck).events.click(); }
  std::string pictures() {
    return t.form().picture("Imgmonitor", 0).picture() + " " + t.form().picture("Imgmonitor", 1).picture();
  }
};

TEST_F(MonitorSelectTest, WithTheMonitorOffNothingChanges) {
  playing(1, 5);
  t.p.monitor.monitorOn = false;
  t.clearCalls();
  click(1);
  EXPECT_EQ(t.p.monitor.monitorDeck, 0);
  EXPECT_EQ(pictures(), "ch12.bmp ch21.bmp");
  EXPECT_TRUE(t.monitor.calls.empty());
  EXPECT_TRUE(t.player(1).calls.empty());
}

TEST_F(MonitorSelectTest, PausedDeckIsOpenedAtItsPitchButNotStarted) {
  t.addSong(1, "/music/b.mp3");
  t.form().picture("pitchbtn", 1).setTop(2700);
  t.monitor.sampleRates["/music/b.mp3"] = 48000;
  t.clearCalls();
  click(1);
  EXPECT_EQ(t.p.monitor.monitorDeck, 1);
  EXPECT_EQ(t.p.monitor.monitorSampleRate, 48000);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"open /music/b.mp3", "setPitch 107"}));
  EXPECT_NEAR(t.player(1).rateValue, 1.0666667, 1e-6);
  EXPECT_EQ(pictures(), "ch11.bmp ch22.bmp");
  click(0);
  EXPECT_EQ(pictures(), "ch12.bmp ch21.bmp");
}

TEST_F(MonitorSelectTest, PlayingDeckStartsTheMonitorGapTimeAhead) {
  playing(1, 30, "/music/b.mp3");
  t.clearCalls();
  click(1);
  EXPECT_EQ(t.monitor.calls,
            (std::vector<std::string>{"open /music/b.mp3", "setPitch 100", "play", "setPlaySamples 1327410"}));
}

}  // namespace
}  // namespace vx::test
