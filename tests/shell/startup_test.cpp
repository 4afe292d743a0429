// Start-up from the splash to the main window, on the fakes.
#include <gtest/gtest.h>

#include "basic/version.h"
#include "shell/directx_check.h"
#include "shell/startup.h"
#include "tests/shell/settings_test_support.h"

namespace vx::test {
namespace {

using Calls = std::vector<std::string>;

class StartupTest : public ::testing::Test {
 protected:
  TestProgram t;
  SettingsFolder folder;
  // Start-up with a settings file that keeps what the test set up.
  bool start() { return start(t); }
  bool start(TestProgram& program) {
    keepStateAcrossStart(program, folder);
    return shell::startProgram(program.p);
  }
  void paint() { t.p.main.paint(); }
};

TEST_F(StartupTest, NormalStartPreparesBothWindowsAndWaitsForTheSplash) {
  t.player(0).setFileName("/music/a.mp3");
  t.monitor.sampleRate = 48000;
  t.p.settings.monitorDevice = 1;
  t.form().picture("miniplay").setTop(0);
  ASSERT_TRUE(start());

  EXPECT_EQ(t.form().label("topbar").caption(), "Ver." + basic::versionText());
  EXPECT_EQ(t.p.splash.label("lblVersion").caption(), "Version " + basic::versionText());
  EXPECT_EQ(t.monitor.calls, (Calls{"init", "setFftWindow 0", "open /music/a.mp3", "setWaveOutDeviceId 1"}));
  EXPECT_EQ(t.p.monitor.monitorSampleRate, 48000);
  EXPECT_EQ(t.form().picture("miniplay").top(), 1000);
  EXPECT_TRUE(t.form().picture("Picture5").autoSize());
  // The trim pointer starts at the centre of its knob.
  const auto& knob = t.form().picture("Trimbase", 1);
  const auto& line = t.form().get<form::Line>("TrimLine", 1);
  EXPECT_EQ(line.x1, knob.left() + knob.width() / 2);
  EXPECT_EQ(line.y1, knob.top() + knob.height() / 2);
  EXPECT_TRUE(t.p.startup.initDone);
  EXPECT_TRUE(t.dialogs.shown.empty());
  EXPECT_TRUE(t.p.splash.visible);
  EXPECT_FALSE(t.p.main.visible);

  t.p.splash.timer("Timer1").tick();
  EXPECT_TRUE(t.p.main.visible);
  EXPECT_FALSE(t.p.splash.visible);
}

TEST_F(StartupTest, SecondInstanceIsRefusedAndTheMainWindowNeverShows) {
  t.shell.singleInstance = false;
  t.p.deck[0].stutterArmed = true;
  EXPECT_FALSE(start());
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[0].text, "このアプリケーションはすでに開かれています。");
  EXPECT_EQ(t.dialogs.shown[0].title, "APP Load Error");
  EXPECT_EQ(t.dialogs.shown[0].icon, platform::MsgIcon::Warning);
  EXPECT_TRUE(t.monitor.calls.empty());
  EXPECT_TRUE(t.sound.calls.empty());
  EXPECT_FALSE(t.p.startup.initDone);
  EXPECT_TRUE(t.p.deck[0].stutterArmed) << "the window is never initialised";

  t.p.splash.timer("Timer1").tick();
  t.p.splash.click();
  EXPECT_FALSE(t.p.main.visible);
  EXPECT_FALSE(t.p.splash.visible);
}

TEST_F(StartupTest, MonitorSwitchedOffMakesNoMonitorCall) {
  t.player(0).setFileName("/music/a.mp3");
  t.p.monitor.monitorOn = false;
  ASSERT_TRUE(start());
  EXPECT_TRUE(t.monitor.calls.empty());
  EXPECT_EQ(t.monitor.getStateCount, 0);
  EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST_F(StartupTest, UnusableMonitorLibraryIsReportedAndSwitchesTheMonitorOff) {
  for (bool missing : {true, false}) {
    SCOPED_TRACE(missing ? "library missing" : "init fails");
    TestProgram t2({.monitorMissing = missing});
    t2.monitor.initResult = false;
    t2.player(0).setFileName("/music/a.mp3");
    ASSERT_TRUE(start(t2));
    ASSERT_EQ(t2.dialogs.shown.size(), 1u);
    EXPECT_EQ(t2.dialogs.shown[0].text, "VBMP3.DLLの初期化に失敗しました。モニター機能は使えません。");
    EXPECT_EQ(t2.dialogs.shown[0].title, "ＶＢＭＰ３初期化エラー");
    EXPECT_EQ(t2.dialogs.shown[0].icon, platform::MsgIcon::Information);
    EXPECT_FALSE(t2.p.monitor.monitorOn);
    EXPECT_FALSE(t2.monitor.called("open /music/a.mp3"));
    EXPECT_TRUE(t2.p.startup.initDone);
  }
}

// Whatever deck A holds, the headphones play on the chosen device from the start: a song
// monitored later must never come out of the first device (usually the main output).
TEST_F(StartupTest, FailedOrMissingMonitorFileIsSilentAndStillRoutesToTheChosenDevice) {
  t.player(0).setFileName("/music/bad.mp3");
  t.monitor.failingPaths.insert("/music/bad.mp3");
  t.p.settings.monitorDevice = 2;
  ASSERT_TRUE(start());
  EXPECT_EQ(t.monitor.calls, (Calls{"init", "setFftWindow 0", "open /music/bad.mp3", "setWaveOutDeviceId 2"}));
  EXPECT_EQ(t.p.monitor.monitorSampleRate, 0);
  EXPECT_TRUE(t.dialogs.shown.empty());

  TestProgram empty;
  empty.p.settings.monitorDevice = 1;
  ASSERT_TRUE(start(empty));
  EXPECT_EQ(empty.monitor.calls, (Calls{"init", "setFftWindow 0", "setWaveOutDeviceId 1"}));
  EXPECT_EQ(empty.monitor.device(), 1);
}

TEST_F(StartupTest, MissingSoundDeviceStartsWithoutSamplerAndSaysSoOnce) {
  t.sound.createResult = false;
  ASSERT_TRUE(start());
  shell::directXCheck(t.p);  // asked again, as the settings reader does
  ASSERT_EQ(t.dialogs.messages(),
            Calls{"DirectXが古いかインストールされていません。ＤｉｒｅｃｔＸ８．０以上が必要です。省略モードで起動します。"});
  EXPECT_EQ(t.dialogs.shown[0].title, "初期化エラー");
  EXPECT_EQ(t.dialogs.shown[0].icon, platform::MsgIcon::Information);
  EXPECT_FALSE(t.p.settings.samplerEnabled);
  EXPECT_FALSE(t.p.settings.samplerShown);
  EXPECT_FALSE(t.p.startup.directSoundReady);
  EXPECT_FALSE(t.form().menu("sa").enabled());
  EXPECT_TRUE(t.p.startup.initDone);
}

TEST_F(StartupTest, SoundDeviceIsCreatedOnceAndNotAtAllWithTheSamplerOff) {
  ASSERT_TRUE(start());
  shell::directXCheck(t.p);
  EXPECT_EQ(t.sound.calls, Calls{"create"});
  EXPECT_TRUE(t.p.startup.directSoundReady);

  TestProgram off;
  off.p.settings.samplerEnabled = false;
  off.sound.createResult = false;
  ASSERT_TRUE(start(off));
  EXPECT_TRUE(off.sound.calls.empty());
  EXPECT_TRUE(off.dialogs.shown.empty());
  EXPECT_TRUE(off.form().menu("sa").enabled());
}

TEST_F(StartupTest, SplashClickOrKeyShowsTheMainWindowAtOnce) {
  ASSERT_TRUE(start());
  t.p.splash.click();
  EXPECT_TRUE(t.p.main.visible);
  EXPECT_FALSE(t.p.splash.visible);
  EXPECT_FALSE(t.p.splash.timer("Timer1").enabled());

  TestProgram t2;
  ASSERT_TRUE(start(t2));
  t2.p.splash.keyDown(13, 0);
  EXPECT_TRUE(t2.p.main.visible);
}

TEST_F(StartupTest, SplashBeforeStartUpIsDoneKeepsTheMainWindowHidden) {
  t.p.splash.visible = true;
  shell::splashDismiss(t.p);
  shell::splashTimerTick(t.p);
  EXPECT_FALSE(t.p.main.visible);
}

TEST_F(StartupTest, PlayAtStartUpPressesPlayOnDeckAAtTheFirstPaintOnly) {
  t.form().menu("startup").setChecked(true);
  t.addSong(0, "/music/a.mp3");
  t.clearCalls();
  double top = t.form().picture("Pause", 0).top();
  ASSERT_TRUE(start());
  EXPECT_FALSE(t.player(0).called("play")) << "not before the window paints";
  paint();
  paint();
  EXPECT_EQ(t.player(0).count("play"), 1);
  EXPECT_EQ(t.player(0).state, platform::Playing);
  EXPECT_EQ(t.form().picture("Pause", 0).picture(), "play2.bmp");
  EXPECT_EQ(t.form().picture("Pause", 0).top(), top) << "the button must not stay pressed";
  EXPECT_FALSE(t.p.startup.playAtStartupArmed);
}

TEST_F(StartupTest, PaintWithoutPlayAtStartUpDoesNothing) {
  t.form().menu("startup").setChecked(false);
  t.addSong(0, "/music/a.mp3");
  t.clearCalls();
  ASSERT_TRUE(start());
  paint();
  EXPECT_TRUE(t.player(0).calls.empty());
}

}  // namespace
}  // namespace vx::test
