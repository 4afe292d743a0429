// The crossfader: dragging, the jumps, the patterns and CUT IN, the Switch and its fade.
#include "decks/transport.h"
#include "mixer/crossfader.h"
#include "mixer_fixture.h"
#include "play/switching.h"

namespace vx::test {
namespace {

class CrossfaderTest : public MixerFixture {
 protected:
  // Steps the running fade until it reports its end; the number of steps, or -1 after `limit`.
  int stepsToEnd(int limit = 2000) {
    for (int i = 1; i <= limit; ++i)
      if (play::fadeStep(t.p)) return i;
    return -1;
  }
};

TEST_F(CrossfaderTest, DraggingPlacesTheKnobCentredOnThePointerAndPinsItAtTheEnds) {
  press("Faderbase", -1, 1710, 180);  // knob centred: left edge 3630 + 1710 - 210
  EXPECT_EQ(left(), 5130);
  EXPECT_TRUE(t.p.mixer.faderDragging);
  drag("Faderbase", -1, -400, 180);
  EXPECT_EQ(left(), 3630);
  EXPECT_EQ(volume(1), -10000);
  drag("Faderbase", -1, 5000, 180);
  EXPECT_EQ(left(), 6630);
  EXPECT_EQ(volume(0), -10000);
  // On the knob its own coordinate is shifted by the knob's place on the track.
  drag("Faderbtn", -1, 210 - 300, 180);
  EXPECT_EQ(left(), 6330);
  release("Faderbtn", -1);
  EXPECT_FALSE(t.p.mixer.faderDragging);
  drag("Faderbase", -1, 0, 180);
  EXPECT_EQ(left(), 6330);
}

TEST_F(CrossfaderTest, EndButtonsJumpOnThePressAndTheCentreOnTheClick) {
  press("Lvol", -1, 10, 10);
  EXPECT_EQ(left(), 3630);
  EXPECT_EQ(volume(1), -10000);
  press("volR", -1, 10, 10);
  EXPECT_EQ(left(), 6630);
  t.form().picture("center").events.mouseDown(at(10, 10));
  EXPECT_EQ(left(), 6630);
  t.form().picture("center").events.click();
  EXPECT_EQ(left(), 5130);
  EXPECT_EQ(volume(0), 0);
}

TEST_F(CrossfaderTest, PatternButtonsLightTheirPictureAndCutInKeepsThePattern) {
  auto pictures = [&] {
    std::string s;
    for (int i = 0; i < 4; ++i) s += t.form().picture("FDpaturn", i).picture() + " ";
    return s;
  };
  t.form().picture("FDpaturn", 1).events.click();
  EXPECT_EQ(pictures(), "fdp11.bmp fdp22.bmp fdp31.bmp fdp41.bmp ");
  EXPECT_EQ(t.p.mixer.faderPattern, 1);
  t.player(0).clearCalls();
  mixer::FDpaturn_Click(t.p, 3);
  EXPECT_EQ(pictures(), "fdp11.bmp fdp21.bmp fdp31.bmp fdp42.bmp ");
  EXPECT_EQ(t.p.mixer.faderPattern, 1);
  EXPECT_TRUE(t.p.mixer.cutInMode);
  EXPECT_TRUE(t.player(0).calls.empty());  // the new pattern waits for the next volume change
  mixer::FDpaturn_Click(t.p, 2);
  EXPECT_FALSE(t.p.mixer.cutInMode);
  EXPECT_EQ(t.p.mixer.faderPattern, 2);
}

TEST_F(CrossfaderTest, SwitchAtTheCentreFadesToAInThirtySixSteps) {
  t.addSong(0, "/music/a.mp3");
  t.player(0).length = 125.5;
  t.p.deck[0].deckIdle = t.p.deck[0].cueStandby = t.p.deck[0].holdActive = true;
  press("switch", -1, 10, 10);
  EXPECT_EQ(t.p.mixer.switchPhase, 2);
  EXPECT_TRUE(t.p.mixer.switchBusy);
  EXPECT_TRUE(t.player(0).called("play"));
  EXPECT_FALSE(t.player(1).called("play"));
  EXPECT_EQ(t.form().picture("Pause", 0).picture(), "play2.bmp");
  EXPECT_EQ(t.form().picture("Play", 0).picture(), "cue1.bmp");
  EXPECT_EQ(t.form().label("Totaltime", 0).caption(), "/02'06");
  EXPECT_FALSE(t.p.deck[0].deckIdle || t.p.deck[0].cueStandby || t.p.deck[0].holdActive);

  EXPECT_FALSE(play::fadeStep(t.p));
  EXPECT_EQ(left(), 5130 - 3 * 14);
  EXPECT_EQ(stepsToEnd(), 35);
  EXPECT_EQ(left(), 3630);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  EXPECT_FALSE(t.p.mixer.switchBusy);
  EXPECT_EQ(volume(1), -10000);
}

TEST_F(CrossfaderTest, SwitchFromTheASideFadesToBEndToEnd) {
  faderAt(-500);
  t.p.settings.playOnSwitch = false;
  play::switching(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 1);
  EXPECT_FALSE(t.player(1).called("play"));
  EXPECT_EQ(stepsToEnd(), 72);
  EXPECT_EQ(left(), 6630);
}

TEST_F(CrossfaderTest, ASecondSwitchStopsTheFadeInPlaceAndAThirdChoosesAfresh) {
  faderAt(-300);
  play::switching(t.p);
  for (int i = 0; i < 30; ++i) play::fadeStep(t.p);  // 420 units toward B: u = 120
  play::switching(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  EXPECT_TRUE(t.p.mixer.switchBusy);  // only a completed fade clears it
  EXPECT_EQ(left(), 5130 + 3 * 120);
  play::switching(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 2);
  // The user may move the knob during a fade; the next step continues from there.
  faderAt(-490);
  EXPECT_TRUE(play::fadeStep(t.p));
  EXPECT_EQ(left(), 3630);
}

TEST_F(CrossfaderTest, SwitchingTimeSetsTheStepAndALongTimeStillArrives) {
  t.p.settings.faderTime = {50, 7, 1000};
  EXPECT_EQ(mixer::fadeStepSize(t.p), 14);
  t.p.mixer.faderPattern = 1;
  EXPECT_EQ(mixer::fadeStepSize(t.p), 100);
  t.p.mixer.faderPattern = 2;
  EXPECT_EQ(mixer::fadeStepSize(t.p), 1);
  play::switching(t.p);
  EXPECT_EQ(stepsToEnd(), 500);
}

TEST_F(CrossfaderTest, CutInJumpsToTheOtherEndWithoutAFade) {
  t.addSong(1, "/music/b.mp3");
  mixer::FDpaturn_Click(t.p, 3);
  faderAt(-1);
  play::switching(t.p);
  EXPECT_EQ(left(), 6630);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  EXPECT_FALSE(t.p.mixer.switchBusy);
  EXPECT_TRUE(t.player(1).called("play"));
  EXPECT_EQ(volume(0), -10000);
  EXPECT_EQ(volume(1), 0);
}

TEST_F(CrossfaderTest, SwitchOntoADeckFrozenOnItsMarkLetsItPlayOn) {
  t.addSong(1, "/music/b.mp3");
  t.player(1).state = platform::Playing;
  t.player(1).position = 40;
  decks::PLAYBTNON(t.p, 1);  // PLAY on a playing deck freezes it on the mark
  ASSERT_TRUE(t.p.deck[1].stutterArmed);
  faderAt(-500);
  play::switching(t.p);
  EXPECT_FALSE(t.p.deck[1].stutterArmed);
  t.player(1).clearCalls();
  t.p.searchPhase = false;
  for (int i = 0; i < 3 * t.p.settings.stutterInterval + 3; ++i) t.form().timer("Timer1").tick();
  EXPECT_FALSE(t.player(1).called("position=40"));
  EXPECT_EQ(t.form().picture("Pause", 1).picture(), "play2.bmp");
}

TEST_F(CrossfaderTest, TheMainTickRunsTheFadeAndEndsWhereItArrives) {
  play::switching(t.p);
  t.p.searchPhase = false;
  for (int i = 0; i < 35; ++i) t.form().timer("Timer1").tick();
  EXPECT_EQ(t.p.mixer.switchPhase, 2);
  t.form().timer("Timer1").tick();
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  EXPECT_EQ(left(), 3630);
}

}  // namespace
}  // namespace vx::test
