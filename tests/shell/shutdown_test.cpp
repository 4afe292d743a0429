// Ending the program: the close question's three answers, the desktop's close and `end`.
#include <gtest/gtest.h>

#include <fstream>

#include "shell/settings_file.h"
#include "shell/shutdown.h"
#include "tests/shell/settings_test_support.h"

namespace vx::test {
namespace {

using Calls = std::vector<std::string>;

class ShutdownTest : public ::testing::Test {
 protected:
  SettingsFolder folder;
  TestProgram t;
  void SetUp() override {
    t.p.settingsPath = folder.path();
    folder.writeLines({"old"});
  }
  void answer(platform::MsgResult r) { t.dialogs.messageAnswers.push_back(r); }
};

TEST_F(ShutdownTest, CancelKeepsEverything) {
  answer(platform::MsgResult::Cancel);
  t.form().picture("Formend").events.click();
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[0].text, "現在の状態を保存しますか？");
  EXPECT_EQ(t.dialogs.shown[0].buttons, platform::MsgButtons::YesNoCancel);
  EXPECT_EQ(t.dialogs.shown[0].icon, platform::MsgIcon::Question);
  EXPECT_FALSE(t.p.quitRequested);
  EXPECT_TRUE(t.monitor.calls.empty());
  EXPECT_EQ(folder.lines(), Calls{"old"});
}

TEST_F(ShutdownTest, NoEndsWithoutWritingAndReleasesTheSoundEngines) {
  t.p.about.visible = true;
  answer(platform::MsgResult::No);
  t.form().picture("Formend").events.click();
  EXPECT_TRUE(t.p.quitRequested);
  EXPECT_EQ(folder.lines(), Calls{"old"});
  EXPECT_EQ(t.monitor.calls, (Calls{"stop", "free"}));
  EXPECT_TRUE(t.sound.called("release"));
  EXPECT_FALSE(t.p.about.visible);
}

TEST_F(ShutdownTest, YesWritesAndEnds) {
  answer(platform::MsgResult::Yes);
  t.form().picture("Formend").events.click();
  EXPECT_TRUE(t.p.quitRequested);
  EXPECT_EQ(folder.lines().front(), "0");
  EXPECT_EQ(t.monitor.calls, Calls{"stop"});
}

TEST_F(ShutdownTest, MonitorOffIsLeftAlone) {
  t.p.monitor.monitorOn = false;
  answer(platform::MsgResult::No);
  t.form().picture("Formend").events.click();
  EXPECT_TRUE(t.monitor.calls.empty());
}

TEST_F(ShutdownTest, TheDesktopsCloseAsksTheSameQuestion) {
  answer(platform::MsgResult::Cancel);
  ASSERT_TRUE(t.p.main.queryClose);
  t.p.main.queryClose();
  EXPECT_EQ(t.dialogs.messages(), Calls{"現在の状態を保存しますか？"});
  EXPECT_FALSE(t.p.quitRequested);
}

TEST_F(ShutdownTest, EndMenuEndsAtOnceWithoutAQuestion) {
  t.form().menu("end").events.click();
  EXPECT_TRUE(t.p.quitRequested);
  EXPECT_TRUE(t.dialogs.shown.empty());
  EXPECT_EQ(folder.lines(), Calls{"old"});
}

// The settings beyond the classic ones travel with them: a damaged line is named and skipped,
// unknown keys survive the write that the close question's Yes makes.
TEST_F(ShutdownTest, YesAlsoWritesTheExtendedSettingsKeepingWhatItDoesNotKnow) {
  const std::string plus = folder.folder() + "/velvoxplus.ini";
  std::ofstream(plus, std::ios::binary) << "[panel]\nshown=0\n[future]\nkey=kept\n@@@\n";
  shell::readPlusSettings(t.p);
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_NE(t.dialogs.shown[0].text.find(" 5 行目"), std::string::npos);
  EXPECT_FALSE(t.p.plus.flag("panel", "shown", true));
  t.p.plus.setFlag("panel", "shown", true);
  answer(platform::MsgResult::Yes);
  t.form().picture("Formend").events.click();
  std::vector<std::string> messages;
  PlusSettings reread;
  reread.load(plus, messages);
  EXPECT_TRUE(reread.flag("panel", "shown", false));
  EXPECT_EQ(reread.get("future", "key", ""), "kept");
}

}  // namespace
}  // namespace vx::test
