// The mixer in the window: knobs and faders dragged with the mouse, the trim pointer drawn from
// its knob's centre, the lit pattern button, and a picture of a mix in each built-in skin.
#include <QDir>
#include <QtTest/QTest>

#include "mixer/channel_strip.h"
#include "tests/view/window_fixture.h"
#include "view/twips.h"

namespace vx::test {
namespace {

const QString kShots = VELVOX_BUILD_DIR "/screenshots";

class MixerWindowTest : public WindowFixture {
 protected:
  // As the main window's load leaves them: pointers straight up from their knob's centre.
  void SetUp() override {
    WindowFixture::SetUp();
    for (int deck = 0; deck < 2; ++deck) {
      const auto& knob = p.main.picture("Trimbase", deck);
      const double cx = knob.left() + knob.width() / 2, cy = knob.top() + knob.height() / 2;
      p.main.get<form::Line>("TrimLine", deck).set(cx, cy, cx, cy - 200);
    }
  }
  // Presses at `from`, moves in a few steps to `to` with the button held, releases there.
  void drag(QPoint from, QPoint to) {
    sendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
      sendMouse(QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    settle();
  }
  void dragBy(const std::string& name, int index, QPoint by) { drag(centreOf(name, index), centreOf(name, index) + by); }
  // A point of the form in canvas pixels.
  QPoint formPoint(double x, double y) {
    QRectF panel = canvas().drawnRect(control("Picture4"));
    return QPointF(panel.left() + view::toPixels(x), panel.top() + view::toPixels(y)).toPoint();
  }
  QPoint alongPointer(int deck, double fraction) {
    const auto& line = p.main.get<form::Line>("TrimLine", deck);
    return formPoint(line.x1 + fraction * (line.x2 - line.x1), line.y1 + fraction * (line.y2 - line.y1));
  }
  double pixels(double twips) { return view::toPixels(twips); }
};

TEST_F(MixerWindowTest, KnobsAndFadersFollowTheMouse) {
  showWith("orange");
  dragBy("Volbtn", 0, QPoint(0, 50));
  EXPECT_NEAR(p.main.picture("Volbtn", 0).top(), 1830 + 750, 15);
  EXPECT_FALSE(p.mixer.volDragging[0]);
  EXPECT_LT(t.player(0).vol, -400);
  dragBy("Faderbtn", -1, QPoint(-40, 0));
  EXPECT_NEAR(p.main.picture("Faderbtn").left(), 5130 - 600, 15);
  EXPECT_LT(t.player(1).vol, -400) << "deck B is not faded by the crossfader on the A side";
  dragBy("panbtn", 1, QPoint(20, 0));
  EXPECT_NEAR(t.player(1).bal, 300, 15);
  dragBy("masterbtn", 1, QPoint(0, 30));
  EXPECT_NEAR(p.main.picture("masterbtn", 1).top(), 3840 + 450, 15);
  // Level 55, both channels alike.
  EXPECT_EQ(t.waveOut.level & 0xFFFF, t.waveOut.level >> 16);
  EXPECT_NEAR(static_cast<double>(t.waveOut.level & 0xFFFF), 36061, 700);
  // A press on the track brings the knob to the pointer.
  drag(pointIn("Volbase", 1, 240, 1755), pointIn("Volbase", 1, 240, 1755));
  EXPECT_EQ(p.main.picture("Volbtn", 1).top(), 3330);
  EXPECT_EQ(t.player(1).vol, -10000);
}

TEST_F(MixerWindowTest, TheTrimPointerIsDrawnFromTheKnobsCentreAndFollowsTheMouse) {
  showWith("orange");
  const QImage before = grabCanvas();
  const QPoint oldPointer = alongPointer(1, 0.75);
  // Pressed at the knob's upper left: the pointer turns toward the press, 190 twips long.
  drag(pointIn("Trimbase", 1, 100, 100), pointIn("Trimbase", 1, 100, 100));
  const auto& line = p.main.get<form::Line>("TrimLine", 1);
  EXPECT_DOUBLE_EQ(line.x1, 5950);
  EXPECT_DOUBLE_EQ(line.y1, 1440);
  // The press lands on whole pixels: the angle is 45 degrees to within a pixel's worth.
  EXPECT_NEAR(line.x2, 5950 - 190 / std::sqrt(2.0), 10);
  EXPECT_NEAR(line.y2, 1440 - 190 / std::sqrt(2.0), 10);
  EXPECT_NEAR(std::hypot(line.x2 - line.x1, line.y2 - line.y1), 190, 1e-9);
  const QImage after = grabCanvas();
  const QPoint newPointer = alongPointer(1, 0.75);
  EXPECT_NE(after.pixel(newPointer), before.pixel(newPointer)) << "the new pointer is not drawn";
  EXPECT_NE(after.pixel(oldPointer), before.pixel(oldPointer)) << "the old pointer is still drawn";
  EXPECT_EQ(after.pixel(formPoint(5950 + 150, 1440 - 150)), before.pixel(formPoint(5950 + 150, 1440 - 150)));
}

TEST_F(MixerWindowTest, TheChosenPatternButtonIsLit) {
  showWith("orange");
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("FDpaturn", 1));
  settle();
  const QImage shot = grabCanvas();
  for (int n = 0; n < 4; ++n) {
    const std::string file = kSkinRoot + "/orange/fdp" + std::to_string(n + 1) + (n == 1 ? "2" : "1") + ".bmp";
    EXPECT_TRUE(drawnAt(shot, file, canvas().drawnRect(control("FDpaturn", n)).topLeft().toPoint())) << file;
  }
  EXPECT_EQ(p.mixer.faderPattern, 1);
}

class MixerScreenshot : public MixerWindowTest, public ::testing::WithParamInterface<const char*> {};

// Channel faders down, crossfader off centre, pattern B, trims turned: mixed with the mouse.
TEST_P(MixerScreenshot, AMixMadeWithTheMouse) {
  const std::string skin = GetParam();
  showWith(skin);
  dragBy("Volbtn", 0, QPoint(0, 60));
  dragBy("Volbtn", 1, QPoint(0, 25));
  dragBy("Faderbtn", -1, QPoint(45, 0));
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("FDpaturn", 1));
  drag(pointIn("Trimbase", 0, 150, 200), pointIn("Trimbase", 0, 150, 200));
  drag(pointIn("Trimbase", 1, 650, 250), pointIn("Trimbase", 1, 650, 250));
  dragBy("panbtn", 0, QPoint(-15, 0));
  dragBy("masterbtn", 0, QPoint(0, 20));
  settle();
  EXPECT_EQ(p.main.picture("FDpaturn", 1).picture(), "fdp22.bmp");
  EXPECT_GT(p.main.picture("Faderbtn").left(), 5130);
  EXPECT_GT(mixer::trimCut(p, 0), 20);
  EXPECT_LT(mixer::trimCut(p, 1), 20);
  QDir().mkpath(kShots);
  const QString path = kShots + "/mixer-" + QString::fromStdString(skin) + ".png";
  ASSERT_TRUE(gui->mainWindow().grab().save(path)) << path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Skins, MixerScreenshot, ::testing::Values("orange", "midnight"));

}  // namespace
}  // namespace vx::test
