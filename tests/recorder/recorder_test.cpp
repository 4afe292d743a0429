// The recorder's logic on the fake device: the time label, the failure messages, the choice of
// file as the window opens, and where a recording goes when no file was chosen.
#include <gtest/gtest.h>

#include "recorder/mci.h"
#include "recorder/music_folder.h"
#include "recorder/recorder.h"
#include "recorder/recorder_window.h"
#include "tests/support/test_program.h"

namespace vx::recorder {
namespace {

TEST(TimeLabel, CountsMinutesSecondsAndTenthsWithABlankBeforeTheTenth) {
  EXPECT_EQ(timeLabel(599, true), "REC 00:59. 9");
  EXPECT_EQ(timeLabel(600, true), "REC 01:00. 0");
  EXPECT_EQ(timeLabel(834, true), "REC 01:23. 4");
  EXPECT_EQ(timeLabel(0, false), "00:00. 0");
  // past 99 minutes the minutes simply grow
  EXPECT_EQ(timeLabel(60000 + 5, true), "REC 100:00. 5");
}

class RecorderTest : public ::testing::Test {
 protected:
  test::TestProgram t;
  Program& p = t.p;
  std::vector<std::string> messages() { return t.dialogs.messages(); }
};

TEST_F(RecorderTest, SendMciCommandRefusesAnEmptyCommandAndNamesUnknownErrors) {
  std::string text;
  EXPECT_EQ(sendMciCommand(p, "", text), -1);
  EXPECT_EQ(text, "コマンド文字列が指定されていません");
  EXPECT_TRUE(t.recorder.calls.empty());
  t.recorder.failures["record"] = 328;
  t.recorder.errorTexts[328] = "";
  EXPECT_EQ(sendMciCommand(p, "record file", text), 328);
  EXPECT_EQ(text, "Error (文字列が取れません)");
  p.ports.recorder = nullptr;
  EXPECT_EQ(sendMciCommand(p, "record file", text), kNoRecordingDevice);
  EXPECT_FALSE(text.empty());
}

TEST_F(RecorderTest, OnlyAFailedRecordIsShownAndTheWindowGoesOnAsIfRecording) {
  t.dialogs.saveAnswers.push_back("/music/set.wav");
  openRecorder(p);
  t.recorder.failures["open"] = 263;
  t.recorder.failures["record"] = 328;
  t.recorder.errorTexts[328] = "録音デバイスを使えません。";
  startRecording(p);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "録音デバイスを使えません。 (328)");
  EXPECT_EQ(t.dialogs.shown.back().title, "Error");
  EXPECT_EQ(t.dialogs.shown.back().icon, platform::MsgIcon::Critical);
  EXPECT_EQ(p.recorder.lastMciResult, 328);
  EXPECT_TRUE(p.recorderWindow.timer("Timer1").enabled());
  EXPECT_FALSE(p.recorderWindow.picture("cmdstart").enabled());
}

TEST_F(RecorderTest, ACancelledDialogSavesToTheMusicFolderAndSaysWhere) {
  openRecorder(p);
  EXPECT_TRUE(p.recorderWindow.visible);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find(p.recorder.saveName), std::string::npos);
  EXPECT_EQ(p.recorder.saveName, musicFolder() + "/recwav.wav");
  // the lamp lights only for a chosen file
  EXPECT_EQ(p.main.picture("Imgrec").picture(), "recorder1.bmp");
}

TEST_F(RecorderTest, AnEmptyNameClosesTheWindowAgainAndDisarms) {
  t.dialogs.saveAnswers.push_back(std::string());
  openRecorder(p);
  EXPECT_FALSE(p.recorderWindow.visible);
  EXPECT_FALSE(p.recorder.recorderArmed);
}

TEST_F(RecorderTest, AnInterruptedRecordingStopsAndSaysSo) {
  struct Interrupting : test::FakeRecordingDevice {
    std::string why;
    std::string takeInterruption() override { return std::exchange(why, ""); }
  } device;
  p.ports.recorder = &device;
  t.dialogs.saveAnswers.push_back("/music/set.wav");
  openRecorder(p);
  startRecording(p);
  Timer1_Timer(p);
  EXPECT_EQ(p.recorder.tenthsCount, 1);
  device.why = "ディスクに書き込めなくなりました";
  Timer1_Timer(p);
  EXPECT_EQ(p.recorder.tenthsCount, 1);
  EXPECT_FALSE(p.recorderWindow.timer("Timer1").enabled());
  EXPECT_TRUE(p.recorderWindow.picture("cmdsave").enabled());
  EXPECT_NE(messages().back().find("ディスクに書き込めなくなりました"), std::string::npos);
}

TEST(MusicFolder, TheDesktopsMusicFolderElseHome) {
  auto env = [](const char* home, const char* music) {
    return [=](const char* name) -> const char* {
      if (std::string(name) == "HOME") return home;
      if (std::string(name) == "XDG_MUSIC_DIR") return music;
      return nullptr;
    };
  };
  auto exists = [](const std::string& path) { return path == "/home/dj/Musik" || path == "/data/music"; };
  EXPECT_EQ(musicFolder(env("/home/dj", nullptr), "# comment\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n", exists), "/home/dj/Musik");
  EXPECT_EQ(musicFolder(env("/home/dj", "/data/music"), "XDG_MUSIC_DIR=\"$HOME/Musik\"\n", exists), "/data/music");
  // named but missing, or not named at all: home
  EXPECT_EQ(musicFolder(env("/home/dj", nullptr), "XDG_MUSIC_DIR=\"$HOME/Music\"\n", exists), "/home/dj");
  EXPECT_EQ(musicFolder(env("/home/dj", nullptr), "", exists), "/home/dj");
  EXPECT_EQ(musicFolder(env(nullptr, nullptr), "", exists), "/");
}

}  // namespace
}  // namespace vx::recorder
