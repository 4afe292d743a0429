// The window's size in pixels for each mode: panels shown or hidden, the menu bar above the
// drawing, the small bar.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QtTest/QTest>

#include "tests/view/window_fixture.h"
#include "ui/window_modes.h"
#include "view/twips.h"

namespace vx::test {
namespace {

class LayoutTest : public WindowFixture {
 protected:
  QSize windowSize() { return gui->mainWindow().size(); }
  QRect canvasRect() { return canvas().geometry(); }
};

TEST_F(LayoutTest, TheWindowTakesTheLayoutsSizeForEachSetOfPanels) {
  showWith("orange");
  struct Case { bool sampler, list; int height; };
  for (Case c : {Case{true, true, 576}, {true, false, 432}, {false, true, 507}, {false, false, 364}}) {
    p.settings.samplerShown = c.sampler;
    p.settings.songListShown = c.list;
    ui::layoutWindow(p);
    settle();
    EXPECT_EQ(windowSize(), QSize(712, c.height));
    EXPECT_EQ(canvasRect(), QRect(0, 0, 712, c.height));
    EXPECT_FALSE(gui->mainWindow().menus()->isVisible());
  }
}

TEST_F(LayoutTest, TheMenuBarSitsAboveTheDrawingAndAddsItsHeight) {
  showWith("orange");
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("Imgmenu"));
  settle();
  EXPECT_EQ(windowSize(), QSize(712, 595));  // (8640 + 280) twips
  EXPECT_TRUE(gui->mainWindow().menus()->isVisible());
  EXPECT_EQ(canvasRect(), QRect(0, 19, 712, 576));
  view::MenuBar& bar = *gui->mainWindow().menus();
  // Every menu shows in the bar itself, none pushed into the overflow button.
  for (const char* top : {"file", "autoplay", "hyouji", "setting", "skin", "version"}) {
    EXPECT_TRUE(bar.actionOf(top)->isVisible()) << top;
    QRect place = bar.actionGeometry(bar.actionOf(top));
    EXPECT_FALSE(place.isEmpty()) << top;
    EXPECT_TRUE(bar.rect().contains(place)) << top;
  }
  auto* overflow = bar.findChild<QToolButton*>("qt_menubar_ext_button");
  EXPECT_TRUE(!overflow || !overflow->isVisible());
  EXPECT_FALSE(bar.actionOf("mnuMove0")->isVisible());
  EXPECT_EQ(bar.actionOf("autoplay")->text(), "再生");
}

TEST_F(LayoutTest, MenuEntriesShowTheModelsCheckMarksAndRaiseTheirClick) {
  showWith("orange");
  view::MenuBar& bar = *gui->mainWindow().menus();
  EXPECT_TRUE(bar.actionOf("autoplay2")->isChecked());
  EXPECT_FALSE(bar.actionOf("temae")->isChecked());
  bar.actionOf("temae")->trigger();
  EXPECT_TRUE(p.main.menu("temae").checked());
  EXPECT_TRUE(p.main.topmost);
  EXPECT_TRUE(bar.actionOf("temae")->isChecked());
  EXPECT_TRUE(gui->mainWindow().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // An entry whose handler leaves the mark alone keeps it as the model has it.
  p.main.menu("countdown").events.click = [] {};
  bar.actionOf("countdown")->trigger();
  EXPECT_TRUE(bar.actionOf("countdown")->isChecked());
}

TEST_F(LayoutTest, TheSmallBarIsFourThousandByThreeHundredTenTwips) {
  showWith("orange");
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("Tobar"));
  settle();
  EXPECT_EQ(windowSize(), QSize(267, 21));
  for (const char* mini : {"miniplay", "ministop", "minipre", "mininext"}) {
    QRectF r = canvas().drawnRect(control(mini));
    EXPECT_FALSE(r.isEmpty()) << mini;
    EXPECT_TRUE(QRectF(canvas().rect()).contains(r)) << mini;
  }
  QTest::mouseDClick(&canvas(), Qt::LeftButton, {}, centreOf("topbar"));
  settle();
  EXPECT_EQ(windowSize(), QSize(712, 576));
}

TEST_F(LayoutTest, AWindowPlacedOutsideEveryScreenComesBackToTheMainScreen) {
  p.main.left = -90000;
  p.main.top = 120000;
  showWith("orange");
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.intersects(gui->mainWindow().geometry()));
  EXPECT_EQ(gui->mainWindow().pos(), QPoint(view::toWholePixels(p.main.left), view::toWholePixels(p.main.top)));
  // A window partly off the screen stays where the user put it.
  p.main.left = -3000;
  p.main.top = 300;
  settle();
  EXPECT_EQ(p.main.left, -3000);
  EXPECT_EQ(gui->mainWindow().pos(), QPoint(-200, 20));
}

}  // namespace
}  // namespace vx::test
