// The master and monitor level knobs.
#include "mixer/master_volume.h"
#include "mixer_fixture.h"

namespace vx::test {
namespace {

using MasterVolumeTest = MixerFixture;

TEST_F(MasterVolumeTest, ChannelValueStepsBy655WithOneStepOf691) {
  EXPECT_EQ(mixer::masterChannelValue(0), 0);
  EXPECT_EQ(mixer::masterChannelValue(1), 655);
  EXPECT_EQ(mixer::masterChannelValue(49), 32095);
  EXPECT_EQ(mixer::masterChannelValue(50), 32786);
  EXPECT_EQ(mixer::masterChannelValue(99), 64881);
  EXPECT_EQ(mixer::masterChannelValue(100), 0xFFFF);
  for (int a = 1; a <= 99; ++a) {
    const int step = mixer::masterChannelValue(a) - mixer::masterChannelValue(a - 1);
    EXPECT_EQ(step, a == 50 ? 691 : 655) << a;
  }
}

TEST_F(MasterVolumeTest, MasterKnobSetsBothChannelsOfTheOutput) {
  press("masterbase", 1, 240, -1000);  // above the top: pinned, full level
  EXPECT_EQ(t.form().picture("masterbtn", 1).top(), 3840);
  EXPECT_EQ(t.waveOut.level, 0xFFFFFFFFu);
  drag("masterbase", 1, 240, 500 + 127.5);  // knob top 4340: level 50
  EXPECT_EQ(t.waveOut.level, 32786u * 65537u);
  drag("masterbtn", 1, 240, 127.5 + 10);  // one twip is a tenth of a step: 49
  EXPECT_EQ(t.form().picture("masterbtn", 1).top(), 4350);
  EXPECT_EQ(t.waveOut.level, 32095u * 65537u);
  drag("masterbase", 1, 240, 5000);
  EXPECT_EQ(t.form().picture("masterbtn", 1).top(), 4840);
  EXPECT_EQ(t.waveOut.level, 0u);
  EXPECT_TRUE(t.monitor.calls.empty());
  release("masterbtn", 1);
  EXPECT_FALSE(t.p.mixer.masterDragging[1]);
}

TEST_F(MasterVolumeTest, MonitorKnobSetsTheMonitorsPercentOnBothSides) {
  press("masterbase", 0, 240, 300 + 127.5);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"setVolume 70 70"}));
  EXPECT_TRUE(t.waveOut.calls.empty());
  EXPECT_TRUE(t.p.mixer.masterDragging[0]);
  EXPECT_FALSE(t.p.mixer.masterDragging[1]);
}

TEST_F(MasterVolumeTest, MasterKnobStartsFromTheCurrentOutputLevel) {
  struct Case {
    uint32_t level;
    double top;
  } cases[] = {{0xFFFFFFFFu, 3840}, {0x80008000u, 4340}, {0x7FFF7FFFu, 4340}, {0, 4840}, {0x0000FFFFu, 4840}};
  for (const Case& c : cases) {
    t.waveOut.level = c.level;
    mixer::initMasterKnob(t.p);
    EXPECT_NEAR(t.form().picture("masterbtn", 1).top(), c.top, 0.5) << std::hex << c.level;
  }
  EXPECT_TRUE(t.waveOut.calls.empty());
}

}  // namespace
}  // namespace vx::test
