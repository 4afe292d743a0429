#include "songlist/editing.h"

#include "tests/songlist/songlist_fixture.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;

class EditTest : public SongListTest {
 protected:
  void click(const std::string& name, int deck = -1) { p.main.picture(name, deck).events.click(); }
  void press(int deck, form::MouseButton button) {
    p.main.listBox("title1", deck).events.mouseDown({button, 0, 100, 100});
  }
  // What the visible list does for a left press on an entry: selects it, then raises the event.
  void pressEntry(int deck, int i) {
    list(deck).column(songlist::Title).setListIndex(i);
    press(deck, form::MouseButton::Left);
  }
};

TEST_F(EditTest, MovesCarryEveryValueAndSelectTheMovedEntry) {
  fillList(0, 3);
  pressEntry(0, 0);
  click("Imgdwn", 0);
  EXPECT_EQ(titles(0), (Strings{"s1.mp3", "s0.mp3", "s2.mp3"}));
  EXPECT_EQ(selections(0), all(1));
  click("Imgup", 0);
  click("Imgup", 0);
  EXPECT_EQ(titles(0), (Strings{"s0.mp3", "s1.mp3", "s2.mp3"}));
  EXPECT_EQ(selections(0), all(0));
  expectInStep(0);
}

TEST_F(EditTest, MovesPastTheEndsOrWithoutSelectionChangeNothing) {
  fillList(0, 3);
  click("Imgup", 0);
  click("Imgdwn", 0);
  pressEntry(0, 2);
  click("Imgdwn", 0);
  EXPECT_EQ(titles(0), (Strings{"s0.mp3", "s1.mp3", "s2.mp3"}));
  EXPECT_EQ(selections(0), all(2));
}

TEST_F(EditTest, DeleteRemovesTheEntryFromAllSevenAndLeavesNoSelection) {
  fillList(1, 3);
  t.addSong(1, "/music/playing.mp3");
  t.player(1).state = platform::Playing;
  t.clearCalls();
  pressEntry(1, 3);
  click("Imgdell", 1);
  pressEntry(1, 1);
  click("Imgdell", 1);
  EXPECT_EQ(titles(1), (Strings{"s0.mp3", "s2.mp3"}));
  EXPECT_EQ(selections(1), all(-1));
  expectInStep(1);
  click("Imgdell", 1);
  EXPECT_EQ(list(1).count(), 2);
  EXPECT_TRUE(t.player(1).calls.empty());
  EXPECT_EQ(t.player(1).state, platform::Playing);
}

TEST_F(EditTest, TransferAppendsToTheOtherListWithItsValuesKeepingItsSelection) {
  fillList(0, 2, "a");
  fillList(1, 2, "b");
  list(1).select(0);
  pressEntry(0, 0);
  click("ImgtoB");
  EXPECT_EQ(titles(0), Strings{"a1.mp3"});
  EXPECT_EQ(titles(1), (Strings{"b0.mp3", "b1.mp3", "a0.mp3"}));
  EXPECT_EQ(selections(1), all(0));
  expectInStep(0);
  expectInStep(1);
  click("ImgtoA");
  EXPECT_EQ(titles(0), (Strings{"a1.mp3", "b0.mp3"}));
  EXPECT_EQ(selections(1), all(-1));
}

TEST_F(EditTest, TransferToAFullListMovesNothing) {
  songlist::Columns many;
  for (auto& column : many) column.assign(songlist::kMaxSongs, "1");
  ASSERT_TRUE(list(1).appendColumns(many));
  fillList(0, 1);
  pressEntry(0, 0);
  click("ImgtoB");
  EXPECT_EQ(list(0).count(), 1);
  EXPECT_EQ(list(1).count(), songlist::kMaxSongs);
}

TEST_F(EditTest, ClearAsksFirst) {
  fillList(0, 2);
  fillList(1, 1);
  p.main.menu("songclear").events.click();
  EXPECT_EQ(list(0).count(), 2);
  const auto& asked = t.dialogs.shown.back();
  EXPECT_EQ(asked.text, "ソングリストをクリアしますか？");
  EXPECT_EQ(asked.buttons, platform::MsgButtons::YesNo);
  EXPECT_EQ(asked.icon, platform::MsgIcon::Question);
  t.dialogs.messageAnswers.push_back(platform::MsgResult::Yes);
  p.main.menu("songclear").events.click();
  for (int deck = 0; deck < 2; ++deck)
    for (int c = 0; c < songlist::kColumns; ++c)
      EXPECT_EQ(list(deck).column(songlist::Column(c)).listCount(), 0) << deck << songlist::kColumnNames[c];
}

TEST_F(EditTest, APressCopiesTheVisibleSelectionToTheHiddenLists) {
  fillList(0, 3);
  list(0).select(0);
  pressEntry(0, 2);
  EXPECT_EQ(selections(0), all(2));
  press(0, form::MouseButton::Middle);
  EXPECT_EQ(selections(0), all(2));
  EXPECT_EQ(t.dialogs.count("popup"), 0);
}

TEST_F(EditTest, PopupRunsTheChosenEntryThenClearsTheSelection) {
  fillList(0, 3);
  pressEntry(0, 1);
  t.dialogs.popupAnswers.push_back("mnuDown0");
  press(0, form::MouseButton::Right);
  EXPECT_EQ(t.dialogs.shown.back().text, "mnuMove0");
  EXPECT_EQ(titles(0), (Strings{"s0.mp3", "s2.mp3", "s1.mp3"}));
  EXPECT_EQ(selections(0), all(-1));
  expectInStep(0);

  fillList(1, 1);
  pressEntry(1, 0);
  t.dialogs.popupAnswers.push_back("toA");
  press(1, form::MouseButton::Right);
  EXPECT_EQ(t.dialogs.shown.back().text, "mnuMove1");
  EXPECT_EQ(titles(0).back(), "s0.mp3");
  EXPECT_EQ(list(1).count(), 0);
}

TEST_F(EditTest, PopupNeedsASelectionAndADismissalStillClearsIt) {
  fillList(0, 2);
  press(0, form::MouseButton::Right);
  EXPECT_EQ(t.dialogs.count("popup"), 0);
  pressEntry(0, 1);
  press(0, form::MouseButton::Right);
  EXPECT_EQ(t.dialogs.count("popup"), 1);
  EXPECT_EQ(titles(0), (Strings{"s0.mp3", "s1.mp3"}));
  EXPECT_EQ(selections(0), all(-1));
}

}  // namespace
}  // namespace vx::test
