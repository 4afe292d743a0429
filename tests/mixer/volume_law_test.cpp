// The volume law: crossfader pattern, trims and channel faders to the players' volumes.
#include "mixer_fixture.h"

namespace vx::test {
namespace {

using VolumeLawTest = MixerFixture;

TEST_F(VolumeLawTest, PatternAWithoutTrimsFadesAOutOverTheSecondHalfOnly) {
  struct Case {
    double u;
    long a, b;
  } cases[] = {{-500, 0, -10000}, {-250, 0, -2500}, {0, 0, 0}, {250, -2500, 0}, {499, -9801, 0}, {500, -10000, 0}};
  for (const Case& c : cases) {
    faderAt(c.u);
    mixer::volcontrol(t.p);
    EXPECT_EQ(volume(0), c.a) << "u = " << c.u;
    EXPECT_EQ(volume(1), c.b) << "u = " << c.u;
  }
}

TEST_F(VolumeLawTest, TrimCutScalesTheFadeAndTheChannelFader) {
  setCut(0, 20);
  faderAt(0);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -400);
  EXPECT_EQ(t.p.mixer.trimLevel[0], 80);
  EXPECT_EQ(t.p.mixer.trimLevel[1], 100);
  faderAt(499);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -6641);
  faderAt(500);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -10000);

  faderAt(0);
  channel(0, 1499);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -6791);
  channel(0, 1500);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -10000);
}

TEST_F(VolumeLawTest, FullTrimCutLeavesAClosedFaderAtOnlyMinus3600OnTopOfTheCut) {
  setCut(1, 40);
  channel(1, 1499);
  mixer::volcontrol(t.p);
  EXPECT_EQ(t.p.mixer.trimLevel[1], 60);
  EXPECT_EQ(volume(1), -1600 - 3595);  // (1499/1500 * 60)^2 = 3595.2
}

TEST_F(VolumeLawTest, PatternBCentreTakesBothDecksDownEqually) {
  t.p.mixer.faderPattern = 1;
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -2500);
  EXPECT_EQ(volume(1), -2500);
}

TEST_F(VolumeLawTest, PatternCKeepsBSilentUpToTheCentre) {
  t.p.mixer.faderPattern = 2;
  faderAt(-1);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(1), -10000);
  faderAt(1);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(1), -9801);  // Int(100 - 1 * 100/500) = 99
  faderAt(500);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(1), 0);
  EXPECT_EQ(volume(0), -10000);
}

TEST_F(VolumeLawTest, TheDecksThresholdsDifferByOneUnit) {
  // Pattern B: A is silenced from u > P1 - 1 = 499, B reaches full level only beyond P3 = 500.
  t.p.mixer.faderPattern = 1;
  faderAt(499.5);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -10000);
  EXPECT_EQ(volume(1), 0);
  faderAt(-500);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), 0);
  EXPECT_EQ(volume(1), -10000);
}

TEST_F(VolumeLawTest, EditedCurvePointsMoveTheFadingRegion) {
  // Pattern A with A fading from x = 100 and silent from x = 500 (P0 100, P1 0).
  t.p.settings.faderCurve[0] = 100;
  t.p.settings.faderCurve[3] = 0;
  faderAt(-401);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), 0);
  faderAt(-100);  // x = 400: Int(300 * 100/400) = 75
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -5625);
  faderAt(0);
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -10000);
}

TEST_F(VolumeLawTest, AnUnknownPatternLeavesTheVolumesAlone) {
  t.player(0).vol = -123;
  t.p.mixer.faderPattern = 3;
  mixer::volcontrol(t.p);
  EXPECT_EQ(volume(0), -123);
  EXPECT_FALSE(t.player(0).called("volume=0"));
}

}  // namespace
}  // namespace vx::test
