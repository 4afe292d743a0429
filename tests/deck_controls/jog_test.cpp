// The jog wheel: quarter-turn counting, the mark it sets, the knob and the start from cue standby.
#include "decks/jog.h"
#include "deck_fixture.h"

namespace vx::test {
namespace {

// Points on deck A's wheel (1695 x 1680 twips, centre 847.5 / 840), relative to the wheel.
struct Point { double x, y; };
constexpr Point kTwelve{848.5, 420};  // just right of twelve o'clock
constexpr Point kUpperRight{1147, 540}, kLowerRight{1147, 1140}, kLowerLeft{548, 1140}, kUpperLeft{548, 540};

class JogTest : public DeckFixture {
 protected:
  void press(Point p, int deck = 0) { control("jogbase", deck).events.mouseDown(at(p.x, p.y)); }
  void drag(std::initializer_list<Point> points, int deck = 0) {
    for (Point p : points) control("jogbase", deck).events.mouseMove(at(p.x, p.y));
  }
  void release(int deck = 0) { control("jogbase", deck).events.mouseUp(at(0, 0)); }
  double mark(int deck = 0) { return t.p.deck[deck].markPosition; }
};

TEST_F(JogTest, FullClockwiseTurnOnAFrozenDeckAdvancesTheMarkFourSteps) {
  frozen(0, 10);
  press(kTwelve);
  double start = mark();
  EXPECT_NEAR(start, 10.133, 0.001);
  drag({kUpperRight, kLowerRight, kLowerLeft, kUpperLeft, kTwelve});
  EXPECT_NEAR(mark() - start, 0.532, 1e-9);
  EXPECT_EQ(t.p.deck[0].jogSteps, 4);
  EXPECT_EQ(t.player(0).position, mark());
  // Turning back the same way returns to the same mark.
  drag({kUpperLeft, kLowerLeft, kLowerRight, kUpperRight, kTwelve});
  EXPECT_NEAR(mark(), start, 1e-9);
}

TEST_F(JogTest, AnticlockwiseBelowTheSongStartPinsTheMarkAtZero) {
  playing(0, 0.2);
  press(kTwelve);
  EXPECT_DOUBLE_EQ(t.p.deck[0].jogBase, 0.2);  // a deck that is not frozen jogs around its position
  drag({kUpperLeft, kLowerLeft});
  EXPECT_GT(mark(), 0);
  drag({kLowerRight});
  EXPECT_EQ(mark(), 0);
  EXPECT_EQ(t.player(0).position, 0);
}

TEST_F(JogTest, PointerAtTheCentreKeepsKnobAndMarkButSeeksToTheMark) {
  frozen(0, 3);
  auto& knob = control("jogbtn", 0);
  double left = knob.left(), top = knob.top();
  press({847.5, 840});
  EXPECT_EQ(knob.left(), left);
  EXPECT_EQ(knob.top(), top);
  EXPECT_EQ(mark(), 3);
  EXPECT_TRUE(t.player(0).called("position=3"));
}

TEST_F(JogTest, KnobFollowsThePointerAndReturnsToTwelveOnRelease) {
  frozen(0, 3);
  auto& wheel = control("jogbase", 0);
  auto& knob = control("jogbtn", 0);
  double centreLeft = wheel.left() + wheel.width() / 2 - knob.width() / 2;
  double centreTop = wheel.top() + wheel.height() / 2 - knob.height() / 2;
  press(kTwelve);
  drag({{wheel.width() / 2 + 800, wheel.height() / 2 - 0.5}});  // due right, just above the axis
  EXPECT_NEAR(knob.left(), centreLeft + wheel.width() / 4, 0.01);
  EXPECT_NEAR(knob.top(), centreTop, 0.5);
  // A move on the knob itself is turned into wheel coordinates: its centre keeps it in place.
  knob.events.mouseMove(at(knob.width() / 2, knob.height() / 2));
  EXPECT_NEAR(knob.left(), centreLeft + wheel.width() / 4, 0.01);
  release();
  EXPECT_EQ(knob.left(), centreLeft);
  EXPECT_EQ(knob.top(), centreTop - wheel.height() / 4);
  EXPECT_EQ(t.p.deck[0].jogSteps, 0);
  EXPECT_EQ(t.p.deck[0].jogBase, mark());
  EXPECT_FALSE(t.p.deck[0].jogDragging);
  drag({kLowerLeft});  // no drag any more
  EXPECT_EQ(knob.left(), centreLeft);
}

TEST_F(JogTest, JoggingAParkedDeckStartsItsStutterAndTheMonitor) {
  t.addSong(0, "/music/a.mp3");
  auto& s = t.p.deck[0];
  s.cueStandby = s.holdActive = true;
  s.markPosition = s.jogBase = 1.5;
  s.deckIdle = true;
  t.player(0).position = 1.5;  // parked on the mark
  t.p.monitor.monitorSampleRate = 1000;
  press(kTwelve);
  EXPECT_EQ(t.player(0).state, platform::Playing);
  EXPECT_TRUE(s.stutterArmed);
  EXPECT_FALSE(s.cueStandby);
  EXPECT_FALSE(s.deckIdle);
  EXPECT_EQ(t.form().picture("Play", 0).picture(), "cue1.bmp");
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"setPlaySamples 1633", "play"}));
}

TEST_F(JogTest, JogOfADeckThatIsNotMonitoredLeavesTheMonitorAlone) {
  frozen(1, 4);
  t.clearCalls();
  control("jogbase", 1).events.mouseDown(at(848.5, 420));
  EXPECT_GT(t.player(1).count("position=" + numText(mark(1))), 0);
  EXPECT_TRUE(t.monitor.calls.empty());
}

}  // namespace
}  // namespace vx::test
