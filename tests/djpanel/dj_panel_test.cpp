// The DJ panel's middle: the knobs' mouse scheme and ranges, the kills and split, the monitor
// deck following the monitor buttons, and meters that move by whole segments and rest while
// nothing plays.
#include <gtest/gtest.h>

#include "djpanel/dj_panel.h"
#include "djpanel/knob_drag.h"
#include "play/tick.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

class DjPanelTest : public ::testing::Test {
 protected:
  TestProgram t;
  Program& p = t.p;

  void SetUp() override {
    p.window.djPanelShown = true;
    t.dj.clearCalls();
  }
  form::Knob& knob(const std::string& name, int index = -1) { return p.main.get<form::Knob>(name, index); }
  void drag(form::Knob& k, double fromY, double toY) {
    k.events.mouseDown(mouseAt(210, fromY, form::MouseButton::Left));
    k.events.mouseMove(mouseAt(210, toY, form::MouseButton::Left));
    k.events.mouseUp(mouseAt(210, toY, form::MouseButton::Left));
  }
};

TEST_F(DjPanelTest, KnobsDragWithADetentAtTheCentreAndEachHalfSpansItsOwnRange) {
  // Within the detent the knob stays centred; beyond it the travel starts from the centre.
  EXPECT_EQ(djpanel::draggedPosition(0, djpanel::kDetent * djpanel::kTwipsPerHalfTurn * 0.9), 0);
  EXPECT_NEAR(djpanel::draggedPosition(0, (djpanel::kDetent + 0.5) * djpanel::kTwipsPerHalfTurn), 0.5, 1e-9);
  // Back from +0.5 through the centre costs the detent too, and the ends hold.
  EXPECT_NEAR(djpanel::draggedPosition(0.5, -(2 * djpanel::kDetent + 1) * djpanel::kTwipsPerHalfTurn), -0.5, 1e-9);
  EXPECT_EQ(djpanel::draggedPosition(0.5, 99999), 1);

  form::Knob& low = knob("eqlow", 0);
  drag(low, 200, 200 + 0.6 * djpanel::kTwipsPerHalfTurn);  // down: the cut half, -26 dB at its end
  EXPECT_EQ(low.value(), -130);
  EXPECT_EQ(low.picture(), "knob08.bmp");
  EXPECT_TRUE(t.dj.called("eq 0 0 -130"));
  drag(low, 200, -99999);
  EXPECT_EQ(low.value(), 60);  // the boost half ends at +6 dB
  EXPECT_EQ(low.picture(), "knob32.bmp");
  low.events.dblClick();
  EXPECT_EQ(low.value(), 0);
  EXPECT_EQ(low.picture(), "knob16.bmp");
  EXPECT_TRUE(t.dj.called("eq 0 0 0"));

  t.dj.clearCalls();
  drag(knob("filter", 1), 0, 0.1 * djpanel::kTwipsPerHalfTurn);  // a small drag stays in the detent
  EXPECT_EQ(knob("filter", 1).value(), 0);
  EXPECT_TRUE(t.dj.calls.empty());  // nothing changed, nothing sent
  drag(knob("cuemix"), 0, -99999);
  EXPECT_EQ(knob("cuemix").value(), 100);
  EXPECT_EQ(p.plus.number("panel", "cuemix", -1, 0, 100), 100);
  EXPECT_TRUE(t.dj.called("cuemix 100"));
}

TEST_F(DjPanelTest, KillsSplitAndTheMonitoredDeckReachThePort) {
  p.main.picture("killhigh", 1).events.click();
  EXPECT_TRUE(t.dj.called("kill 1 2 on"));
  EXPECT_EQ(p.main.picture("killhigh", 1).picture(), "killhigh2.bmp");
  p.main.picture("killhigh", 1).events.click();
  EXPECT_TRUE(t.dj.called("kill 1 2 off"));
  p.main.picture("splitcue").events.click();
  EXPECT_TRUE(t.dj.called("split on"));
  EXPECT_TRUE(p.plus.flag("panel", "split", false));

  p.main.picture("Imgmonitor", 1).events.click();
  djpanel::djTick(p);
  djpanel::djTick(p);
  EXPECT_EQ(t.dj.count("monitordeck 1"), 1);
}

TEST_F(DjPanelTest, MetersMoveBySegmentsWhilePlayingAndRestWhileNothingPlays) {
  EXPECT_EQ(djpanel::litSegments(1.0f), 16);
  EXPECT_EQ(djpanel::litSegments(0.5f), 13);  // -6 dBFS
  EXPECT_EQ(djpanel::litSegments(0.0f), 0);
  EXPECT_EQ(djpanel::litSegments(0.001f), 0);  // -60 dBFS, below the lowest segment

  form::Picture& master = p.main.picture("meter", 2);
  t.dj.meters[2] = {0.5f, true};
  const auto before = master.revision();
  djpanel::djTick(p);  // nothing plays, the meters rest: the port is not even read
  EXPECT_EQ(master.revision(), before);

  t.player(0).state = platform::Playing;
  djpanel::djTick(p);
  EXPECT_EQ(master.picture(), "meter13.bmp");
  EXPECT_EQ(p.main.picture("clip", 2).picture(), "clip2.bmp");
  const auto drawn = master.revision();
  t.dj.meters[2] = {0.4f, true};  // within the same segment (-9 .. -6 dBFS)
  djpanel::djTick(p);
  EXPECT_EQ(master.revision(), drawn);

  // Stopped: the meters follow the port down to rest, then nothing is touched.
  t.player(0).state = platform::Stopped;
  t.dj.meters[2] = {};
  djpanel::djTick(p);
  EXPECT_EQ(master.picture(), "meter00.bmp");
  EXPECT_EQ(p.main.picture("clip", 2).picture(), "clip1.bmp");
  const auto rested = master.revision();
  t.dj.meters[2] = {0.9f, false};
  djpanel::djTick(p);
  EXPECT_EQ(master.revision(), rested);

  // A hidden panel reads nothing.
  p.window.djPanelShown = false;
  t.player(0).state = platform::Playing;
  djpanel::djTick(p);
  EXPECT_EQ(master.revision(), rested);
}

}  // namespace
}  // namespace vx::test
