// Pressing real widgets: the press reaches the control under the pointer in twips relative to
// it, the pressed control keeps the mouse while dragged, and what the handlers change is drawn.
#include <QApplication>
#include <QMouseEvent>
#include <QtTest/QTest>
#include <algorithm>

#include "tests/view/window_fixture.h"
#include "view/twips.h"

namespace vx::test {
namespace {

class PressTest : public WindowFixture {};

TEST_F(PressTest, PressingPlayShowsItsLitPictureAndMovesItDownTenTwipsUntilReleased) {
  showWith("orange");
  form::Picture& play = p.main.picture("Pause", 0);
  double top = play.top();
  QPointF corner = canvas().drawnRect(play).topLeft();
  EXPECT_TRUE(drawnAt(grabCanvas(), kSkinRoot + "/orange/play1.bmp", corner.toPoint()));

  sendMouse(QEvent::MouseButtonPress, centreOf("Pause", 0), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(play.picture(), "play2.bmp");
  EXPECT_EQ(play.top(), top + 10);
  QPointF pressed = canvas().drawnRect(play).topLeft();
  EXPECT_NEAR(pressed.y() - corner.y(), view::toPixels(10), 1e-9);
  EXPECT_TRUE(drawnAt(grabCanvas(), kSkinRoot + "/orange/play2.bmp", pressed.toPoint()));

  sendMouse(QEvent::MouseButtonRelease, centreOf("Pause", 0), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(play.top(), top);
  EXPECT_EQ(canvas().drawnRect(play).topLeft(), corner);
}

TEST_F(PressTest, AReleaseThatNeverArrivedDoesNotSendTheNextPressToTheOldControl) {
  showWith("orange");
  int stopPresses = 0, cuePresses = 0;
  p.main.picture("Stop", 0).events.mouseDown = [&](const form::MouseEvent&) { ++stopPresses; };
  p.main.picture("Play", 1).events.mouseDown = [&](const form::MouseEvent&) { ++cuePresses; };
  // The press's handler opened a dialog, which took the release: only the press is seen.
  sendMouse(QEvent::MouseButtonPress, centreOf("Stop", 0), Qt::LeftButton, Qt::LeftButton);
  sendMouse(QEvent::MouseButtonPress, centreOf("Play", 1), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(stopPresses, 1);
  EXPECT_EQ(cuePresses, 1) << "the press went to the control pressed before";
  sendMouse(QEvent::MouseButtonRelease, centreOf("Play", 1), Qt::LeftButton, Qt::NoButton);
}

TEST_F(PressTest, ADraggedKnobKeepsTheMouseAndItsHandlerPinsItAtTheEndsOfItsTravel) {
  showWith("orange");
  // The drag scheme of the knobs, as the crossfader's own handlers apply it.
  form::Picture& knob = p.main.picture("Faderbtn");
  form::Picture& base = p.main.picture("Faderbase");
  bool dragging = false;
  auto place = [&](double x) { knob.setLeft(std::clamp(base.left() + x - knob.width() / 2, 3630.0, 6630.0)); };
  knob.events.mouseDown = [&](const form::MouseEvent& e) {
    if (e.button != form::MouseButton::Left) return;
    dragging = true;
    place(e.x + knob.left() - base.left());
  };
  knob.events.mouseMove = [&](const form::MouseEvent& e) {
    if (dragging && e.button == form::MouseButton::Left) place(e.x + knob.left() - base.left());
  };
  knob.events.mouseUp = [&](const form::MouseEvent&) { dragging = false; };

  QPoint start = centreOf("Faderbtn");
  sendMouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  EXPECT_NEAR(knob.left(), 5130, 15);
  sendMouse(QEvent::MouseMove, QPoint(2, start.y() + 40), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(knob.left(), 3630);
  EXPECT_DOUBLE_EQ(canvas().drawnRect(knob).left(), view::toPixels(3630));
  sendMouse(QEvent::MouseMove, QPoint(canvas().width() - 2, start.y()), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(knob.left(), 6630);
  EXPECT_DOUBLE_EQ(canvas().drawnRect(knob).left(), view::toPixels(6630));
  sendMouse(QEvent::MouseButtonRelease, QPoint(canvas().width() - 2, start.y()), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(dragging);
  // Without a button held, moves go nowhere.
  sendMouse(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(knob.left(), 6630);
}

TEST_F(PressTest, PressesAreInTwipsOfTheControlAndAClickNeedsTheReleaseOverIt) {
  showWith("orange");
  form::Picture& stop = p.main.picture("Stop", 1);
  std::vector<form::MouseEvent> downs;
  int clicks = 0;
  stop.events.mouseDown = [&](const form::MouseEvent& e) { downs.push_back(e); };
  stop.events.click = [&] { ++clicks; };
  QPoint at = pointIn("Stop", 1, 150, 90);
  sendMouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].button, form::MouseButton::Right);
  EXPECT_NEAR(downs[0].x, 150, 15);
  EXPECT_NEAR(downs[0].y, 90, 15);
  sendMouse(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(clicks, 1);
  sendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  sendMouse(QEvent::MouseButtonRelease, centreOf("Pause", 1), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(clicks, 1);
}

TEST_F(PressTest, TheMiniButtonsParkedUnderThePanelsCannotBePressedUntilTheBarShowsThem) {
  showWith("orange");
  int presses = 0;
  p.main.picture("miniplay").events.mouseDown = [&](const form::MouseEvent&) { ++presses; };
  // At top 1000 the player panel covers the button.
  QPoint parked = QPointF(view::toPixels(3135 + 100), view::toPixels(1000 + 100)).toPoint();
  EXPECT_NE(canvas().controlAt(parked), &control("miniplay"));
  sendMouse(QEvent::MouseButtonPress, parked, Qt::LeftButton, Qt::LeftButton);
  sendMouse(QEvent::MouseButtonRelease, parked, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(presses, 0);
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("Tobar"));
  settle();
  EXPECT_EQ(gui->mainWindow().size(), QSize(267, 21));
  QTest::mousePress(&canvas(), Qt::LeftButton, {}, centreOf("miniplay"));
  QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, centreOf("miniplay"));
  EXPECT_EQ(presses, 1);
}

TEST_F(PressTest, DraggingTheTitleMovesTheWindow) {
  showWith("orange");
  p.main.left = 1500;
  p.main.top = 1500;
  settle();
  QPoint at = pointIn("Image1", -1, 4500, 150);
  sendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  sendMouse(QEvent::MouseMove, at + QPoint(20, 10), Qt::NoButton, Qt::LeftButton);
  sendMouse(QEvent::MouseButtonRelease, at + QPoint(20, 10), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(p.main.left, 1500 + 300);
  EXPECT_EQ(p.main.top, 1500 + 150);
  settle();
  EXPECT_EQ(gui->mainWindow().pos(), QPoint(120, 110));
}

}  // namespace
}  // namespace vx::test
