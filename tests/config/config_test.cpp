// The configuration dialog on the fakes: what it shows when opened and what each control writes.
#include <gtest/gtest.h>

#include "config/config.h"
#include "config/config_handlers.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

class ConfigTest : public ::testing::Test {
 protected:
  TestProgram t;
  form::Form& f() { return t.p.config; }
  void open() { t.form().menu("setting").events.click(); }
  void click(const std::string& name, int i = -1) { f().find(name, i)->events.click(); }
  void tick(const char* name, int value) {
    f().checkBox(name).setValue(value);
    click(name);
  }
  void choose(const char* name, int i) {
    f().option(name, i).setValue(true);
    click(name, i);
  }
  void setSlider(const std::string& name, int v) {
    f().slider(name).setValue(v);
    f().slider(name).events.change();
  }
  void store(const std::string& time) {
    f().textBox("Text1").setText(time);
    click("fdrec");
  }
  const form::Line& line(int i) { return f().get<form::Line>("Line1", i); }
};

TEST_F(ConfigTest, OpeningShowsTheSettings) {
  t.p.settings.faderTime[0] = 75;
  t.p.settings.stutterInterval = 4;
  t.p.settings.initialTrim = 30;
  t.p.settings.gapTime = 12;
  t.p.settings.playOnSwitch = false;
  t.p.monitor.monitorOn = false;
  t.p.settings.monitorDevice = 1;
  t.p.recorder.recordRate = 1;
  t.p.recorder.recordMono = true;
  open();
  EXPECT_TRUE(f().visible);
  EXPECT_EQ(f().caption, "Velvoxの設定");
  EXPECT_EQ(f().textBox("Text1").text(), "75");
  EXPECT_EQ(f().slider("slsarch").value(), 4);
  EXPECT_EQ(f().slider("strim").value(), 30);
  EXPECT_EQ(f().slider("gyap").value(), 12);
  EXPECT_EQ(f().checkBox("cueswitch").value(), 0);
  EXPECT_EQ(f().checkBox("chkmonitor").value(), 1);
  EXPECT_EQ(f().checkBox("sampoff").value(), 0);
  EXPECT_TRUE(f().option("bitrate", 1).value());
  EXPECT_FALSE(f().option("bitrate", 2).value());
  EXPECT_TRUE(f().option("stereo", 0).value());
  EXPECT_TRUE(f().option("bit", 1).value());
  EXPECT_EQ(f().listBox("List1").items(), t.waveOut.devices);
  EXPECT_EQ(f().label("Label11").caption(), "Headphones");
  EXPECT_EQ(f().slider("fdSlider0").value(), 500) << "the curve sliders keep their layout values";
}

TEST_F(ConfigTest, AMonitorDeviceThatIsGoneShowsTheDefault) {
  t.p.settings.monitorDevice = 5;
  open();
  EXPECT_EQ(f().label("Label11").caption(), "既定のデバイス");
}

TEST_F(ConfigTest, StoreAtOnceWritesTheLayoutCurveIntoPatternA) {
  t.p.settings.faderCurve.fill(7);
  open();
  click("fdrec");
  const auto& c = t.p.settings.faderCurve;
  EXPECT_EQ((std::array<int, 4>{c[0], c[3], c[6], c[9]}), (std::array<int, 4>{500, 500, 0, 0}));
  EXPECT_EQ(c[1], 7) << "other patterns untouched";
  EXPECT_EQ(t.p.settings.faderTime[0], 50);
  EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST_F(ConfigTest, SwitchingTimeParsing) {
  open();
  struct Case {
    const char* text;
    int stored;
    bool message;
  };
  for (const Case& c : {Case{"12.5", 12, false}, Case{"13.5", 14, false}, Case{"  250ms", 250, false}, Case{"0", 100, true},
                        Case{"abc", 100, true}, Case{"-5", 100, true}, Case{"32767", 32767, false}}) {
    t.dialogs.shown.clear();
    store(c.text);
    EXPECT_EQ(t.p.settings.faderTime[0], c.stored) << c.text;
    EXPECT_EQ(t.dialogs.shown.size(), c.message ? 1u : 0u) << c.text;
  }
  t.dialogs.shown.clear();
  store("40000");
  EXPECT_EQ(t.p.settings.faderTime[0], 32767) << "too long a time is refused";
  EXPECT_EQ(f().textBox("Text1").text(), "32767");
  ASSERT_EQ(t.dialogs.messages(), std::vector<std::string>{"値が不正です。"});
  EXPECT_EQ(t.dialogs.shown[0].icon, platform::MsgIcon::None);
  EXPECT_EQ(config::leadingNumber("1e3x"), 1000);
  EXPECT_EQ(config::leadingNumber("- 5"), 0);
}

TEST_F(ConfigTest, PatternButtonsLoadTheirCurveAndDrawIt) {
  t.p.settings.faderTime[1] = 300;
  open();
  choose("patern", 1);
  EXPECT_EQ(t.p.configPattern, 1);
  EXPECT_EQ(f().slider("fdSlider0").value(), 0);
  EXPECT_EQ(f().slider("fdSlider1").value(), 500);
  EXPECT_EQ(f().slider("fdSlider3").value(), 500);
  EXPECT_EQ(f().textBox("Text1").text(), "300");
  EXPECT_EQ(line(3).x2, 267);
  EXPECT_EQ(line(4).x2, 2267);
  EXPECT_EQ(line(4).y2, 840);
  setSlider("fdSlider2", 100);
  EXPECT_EQ(line(2).x2, 467);
  EXPECT_EQ(line(0).x1, 467);
  EXPECT_EQ(line(0).y1, 840);
  store("80");
  EXPECT_EQ(t.p.settings.faderCurve[1 + 6], 100);
  EXPECT_EQ(t.p.settings.faderTime[1], 80);
  EXPECT_EQ(t.p.settings.faderTime[0], 50);
}

TEST_F(ConfigTest, MonitorSwitchAndDeviceChoice) {
  open();
  t.clearCalls();
  tick("chkmonitor", 1);
  EXPECT_FALSE(t.p.monitor.monitorOn);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"stop", "free"}));
  t.clearCalls();
  f().listBox("List1").setListIndex(1);
  click("List1");
  EXPECT_EQ(t.p.settings.monitorDevice, 1);
  EXPECT_EQ(f().label("Label11").caption(), "Headphones");
  t.clearCalls();
  tick("chkmonitor", 0);
  EXPECT_TRUE(t.p.monitor.monitorOn);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"init", "setFftWindow 0", "setWaveOutDeviceId 1"}));
}

TEST_F(ConfigTest, EveryOtherControlWritesItsSettingAtOnce) {
  open();
  setSlider("gyap", 70);
  setSlider("slsarch", 9);
  setSlider("strim", 5);
  EXPECT_EQ(t.p.settings.gapTime, 70);
  EXPECT_EQ(t.p.settings.stutterInterval, 9);
  EXPECT_EQ(t.p.settings.initialTrim, 5);
  tick("cueswitch", 0);
  EXPECT_FALSE(t.p.settings.playOnSwitch);
  tick("autorecstart", 1);
  EXPECT_TRUE(t.p.recorder.autoRecordStart);
  choose("bit", 0);
  choose("stereo", 0);
  choose("bitrate", 0);
  EXPECT_TRUE(t.p.recorder.recordBits);
  EXPECT_TRUE(t.p.recorder.recordMono);
  EXPECT_EQ(t.p.recorder.recordRate, 2);
  EXPECT_TRUE(f().option("bit", 0).value()) << "each group keeps its own choice";
  EXPECT_FALSE(f().option("bitrate", 2).value());
  tick("sampoff", 1);
  EXPECT_FALSE(t.p.settings.samplerEnabled);
  EXPECT_FALSE(t.p.settings.samplerShown);
  tick("sampoff", 0);
  EXPECT_TRUE(t.p.settings.samplerEnabled);
  EXPECT_FALSE(t.p.settings.samplerShown) << "the strip is not shown again by the switch";
  click("startvolcon");
  ASSERT_FALSE(t.shell.started.empty());
}

TEST_F(ConfigTest, WithoutDesktopVolumeControlNothingIsSaid) {
  t.shell.startResult = false;
  open();
  click("startvolcon");
  EXPECT_TRUE(t.dialogs.shown.empty());
}

}  // namespace
}  // namespace vx::test
