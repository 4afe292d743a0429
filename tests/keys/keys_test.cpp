// The main window's keys, on the fakes.
#include <gtest/gtest.h>

#include "keys/keys.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

enum : int { Backspace = 8, Enter = 13, PageUp = 33, PageDown = 34, Left = 37, Up = 38, Right = 39, Down = 40 };

class KeysTest : public ::testing::Test {
 protected:
  TestProgram t;
  void down(int key) { t.p.main.keyDown(key, 0); }
  void up(int key) { t.p.main.keyUp(key, 0); }
  void press(int key) {
    down(key);
    up(key);
  }
  form::Picture& knob(const char* name, int i = -1) { return t.form().picture(name, i); }
};

TEST_F(KeysTest, ArrowsMoveTheFocusAndItsLabel) {
  EXPECT_EQ(t.p.keys.focusDeck, 0);
  press(Right);
  EXPECT_EQ(t.p.keys.focusDeck, 1);
  EXPECT_FALSE(t.form().label("Keyfocus", 0).visible());
  EXPECT_TRUE(t.form().label("Keyfocus", 1).visible());
  press(Left);
  EXPECT_EQ(t.p.keys.focusDeck, 0);
  EXPECT_TRUE(t.form().label("Keyfocus", 0).visible());
  EXPECT_FALSE(t.form().label("Keyfocus", 1).visible());
}

TEST_F(KeysTest, HeldKeysActAgainOnEveryPress) {
  t.addSong(0, "/music/a.mp3");
  t.player(0).length = 205.4;
  down(Backspace);
  EXPECT_EQ(t.player(0).count("play"), 1);
  EXPECT_EQ(t.form().label("Totaltime", 0).caption(), "/03'25");
  EXPECT_FALSE(t.p.deck[0].deckIdle);
  // Backspace still held: pressing Q runs the play/pause operation once more, which freezes
  // the playing deck on its mark.
  press('Q');
  EXPECT_TRUE(t.p.deck[0].holdActive);
  up(Backspace);
  press('Q');
  EXPECT_TRUE(t.p.deck[0].holdActive) << "released: Q alone leaves the transport alone";
}

TEST_F(KeysTest, HeldKeyStateFollowsTheWindowAndForgetsKeysReleasedElsewhere) {
  EXPECT_FALSE(keys::Vkey_Down(t.p, 32));
  down(32);
  EXPECT_TRUE(keys::Vkey_Down(t.p, 32));
  up(32);
  EXPECT_FALSE(keys::Vkey_Down(t.p, 32));
  down(32);
  down('1');
  t.p.main.deactivate();
  EXPECT_FALSE(keys::Vkey_Down(t.p, 32));
  EXPECT_FALSE(t.p.keys.sampleKeyHeld[0]) << "a key let go over another window does not block its slot";
  EXPECT_FALSE(keys::Vkey_Down(t.p, 256));
  EXPECT_FALSE(keys::Vkey_Down(t.p, -1));
}

TEST_F(KeysTest, SamplerKeysTriggerOncePerPress) {
  down('1');
  EXPECT_TRUE(t.p.keys.sampleKeyHeld[0]);
  down(97);  // keypad 1: the same slot, still held
  EXPECT_TRUE(t.p.keys.sampleKeyHeld[0]);
  up(97);
  EXPECT_FALSE(t.p.keys.sampleKeyHeld[0]);
  down(104);
  EXPECT_TRUE(t.p.keys.sampleKeyHeld[7]);
  up('8');
  EXPECT_FALSE(t.p.keys.sampleKeyHeld[7]);
  down('9');
  for (bool held : t.p.keys.sampleKeyHeld) EXPECT_FALSE(held);
}

TEST_F(KeysTest, ChannelFaderAndPitchKnobStopAtTheirEnds) {
  press(Right);
  knob("Volbtn", 1).setTop(3200);
  press('Q');
  EXPECT_EQ(knob("Volbtn", 1).top(), 3330);
  EXPECT_EQ(knob("Volbtn", 0).top(), 1830) << "only the focused deck";
  knob("Volbtn", 1).setTop(1900);
  press('W');
  EXPECT_EQ(knob("Volbtn", 1).top(), 1830);

  knob("pitchbtn", 1).setTop(1503);
  press('A');
  EXPECT_EQ(knob("pitchbtn", 1).top(), 1500);
  knob("pitchbtn", 1).setTop(3298);
  t.p.pitchLockTicks = 0;
  press('S');
  EXPECT_EQ(knob("pitchbtn", 1).top(), 3300);
}

TEST_F(KeysTest, PanKeysMoveWithoutLimitButTheBalanceStaysInRange) {
  press('X');
  EXPECT_EQ(knob("panbtn", 0).left(), 1650);
  EXPECT_EQ(t.player(0).bal, 30);
  knob("panbtn", 0).setLeft(-20000);
  press('Z');
  EXPECT_EQ(knob("panbtn", 0).left(), -20030);
  EXPECT_EQ(t.player(0).bal, -10000);
  press(Right);
  press('Z');
  EXPECT_EQ(knob("panbtn", 1).left(), 8870);
  EXPECT_EQ(t.player(1).bal, 8870 - 1620 - 7280);
}

TEST_F(KeysTest, MasterAndMonitorKnobsStepByATenth) {
  knob("masterbtn", 1).setTop(4800);
  press(191);
  EXPECT_EQ(knob("masterbtn", 1).top(), 4840);
  press(226);
  EXPECT_EQ(knob("masterbtn", 1).top(), 4740);
  knob("masterbtn", 0).setTop(3900);
  press(221);
  EXPECT_EQ(knob("masterbtn", 0).top(), 3840);
  press(186);
  EXPECT_EQ(knob("masterbtn", 0).top(), 3940);
}

TEST_F(KeysTest, HeldDeckNudgesItsMarkButNeverBeforeTheStart) {
  t.addSong(0, "/music/a.mp3");
  t.p.deck[0].holdActive = true;
  t.p.deck[0].markPosition = 0.0005;
  press(Down);
  EXPECT_EQ(t.p.deck[0].markPosition, 0);
  press(PageUp);
  EXPECT_DOUBLE_EQ(t.p.deck[0].markPosition, 0.01);
  EXPECT_FALSE(t.p.deck[0].searchForwardHeld);
  press(Up);
  EXPECT_DOUBLE_EQ(t.p.deck[0].markPosition, 0.011);
  EXPECT_DOUBLE_EQ(t.player(0).position, 0.011);
}

TEST_F(KeysTest, SearchRunsWhileThePageKeyIsHeld) {
  down(PageUp);
  EXPECT_TRUE(t.p.deck[0].searchForwardHeld);
  up(PageUp);
  EXPECT_FALSE(t.p.deck[0].searchForwardHeld);
  down(PageDown);
  EXPECT_TRUE(t.p.deck[0].searchBackHeld);
  t.p.deck[0].holdActive = true;
  up(PageDown);
  EXPECT_TRUE(t.p.deck[0].searchBackHeld) << "the release is ignored while the deck is held";
}

TEST_F(KeysTest, EnterIsTheCueButton) {
  t.addSong(0, "/music/a.mp3");
  down(Enter);
  EXPECT_EQ(t.form().picture("Play", 0).picture(), "cue2.bmp");
  EXPECT_FALSE(t.p.deck[0].deckIdle);
  EXPECT_TRUE(t.p.deck[0].cueStandby);
  up(Enter);
  EXPECT_TRUE(t.p.deck[0].cueStandby);
}

}  // namespace
}  // namespace vx::test
