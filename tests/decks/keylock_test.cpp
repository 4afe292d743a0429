// Key lock as the user reaches it: the lamp, the K key, the headphone monitor that follows the
// deck it plays, and the setting remembered in velvoxplus.ini.
#include <gtest/gtest.h>

#include "decks/keylock.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

class KeyLockTest : public ::testing::Test {
 protected:
  TestProgram t;
  form::Picture& lamp(int deck) { return t.form().picture("keylock", deck); }
  void press(int key) {
    t.p.main.keyDown(key, 0);
  }
  void release(int key) { t.p.main.keyUp(key, 0); }
};

TEST_F(KeyLockTest, TheLampAndTheKeyToggleEachDeckAndAreRemembered) {
  lamp(1).events.click();
  EXPECT_TRUE(t.player(1).keyLock());
  EXPECT_FALSE(t.player(0).keyLock());
  EXPECT_EQ(lamp(1).picture(), "keylock2.bmp");
  EXPECT_EQ(lamp(0).picture(), "keylock1.bmp");
  EXPECT_TRUE(t.p.plus.flag("keylock", "deck1", false));
  lamp(1).events.click();
  EXPECT_FALSE(t.player(1).keyLock());
  EXPECT_EQ(lamp(1).picture(), "keylock1.bmp");
  EXPECT_FALSE(t.p.plus.flag("keylock", "deck1", true));

  // K works on the deck with the keyboard focus; a held key's repeats do not toggle it back.
  t.p.keys.focusDeck = 0;
  press(decks::kKeyLockKey);
  press(decks::kKeyLockKey);
  release(decks::kKeyLockKey);
  EXPECT_TRUE(t.player(0).keyLock());
  EXPECT_EQ(lamp(0).picture(), "keylock2.bmp");
  press(decks::kKeyLockKey);
  EXPECT_FALSE(t.player(0).keyLock());
  EXPECT_FALSE(t.player(1).keyLock());
}

TEST_F(KeyLockTest, TheMonitorFollowsTheDeckItPlays) {
  t.p.monitor.monitorOn = true;
  t.p.monitor.monitorDeck = 1;
  lamp(0).events.click();
  EXPECT_FALSE(t.monitor.keyLock());
  lamp(1).events.click();
  EXPECT_TRUE(t.monitor.keyLock());
  // Choosing the other deck for the headphones takes its key lock along.
  t.addSong(0, "/music/a.mp3");
  lamp(0).events.click();
  lamp(0).events.click();
  t.form().picture("Imgmonitor", 0).events.click();
  EXPECT_EQ(t.p.monitor.monitorDeck, 0);
  EXPECT_TRUE(t.monitor.keyLock());
  lamp(0).events.click();
  EXPECT_FALSE(t.monitor.keyLock());
}

TEST_F(KeyLockTest, StartUpTakesTheRememberedSettingAndIgnoresADamagedOne) {
  t.p.plus.set("keylock", "deck0", "yes please");
  t.p.plus.setFlag("keylock", "deck1", true);
  decks::readKeyLockSettings(t.p);
  EXPECT_FALSE(t.player(0).keyLock());
  EXPECT_TRUE(t.player(1).keyLock());
  EXPECT_EQ(lamp(1).picture(), "keylock2.bmp");
  EXPECT_EQ(lamp(0).picture(), "keylock1.bmp");
}

}  // namespace
}  // namespace vx::test
