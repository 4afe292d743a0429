// From the splash to the main window, and the program's other windows built from their forms.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "shell/startup.h"
#include "tests/view/window_fixture.h"
#include "view/list_box_view.h"

#include <QtTest/QTest>

namespace vx::test {
namespace {

const QString kShots = VELVOX_BUILD_DIR "/screenshots";

class StartupWindowTest : public WindowFixture {
 protected:
  void save(QWidget& w, const QString& name) {
    QDir().mkpath(kShots);
    EXPECT_TRUE(w.grab().save(kShots + "/" + name));
  }
};

TEST_F(StartupWindowTest, TheSplashShowsFirstAndItsTimerHandsOverToTheMainWindow) {
  p.splash.visible = true;
  settle();
  EXPECT_TRUE(gui->splashWindow().isVisible());
  EXPECT_FALSE(gui->mainWindow().isVisible());
  bool started = false;
  gui->run([&] { started = shell::startProgram(p); });
  ASSERT_TRUE(started);
  EXPECT_TRUE(gui->splashWindow().isVisible());
  EXPECT_FALSE(gui->mainWindow().isVisible());
  EXPECT_EQ(gui->splashWindow().size(), QSize(400, 240));
  save(gui->splashWindow(), "splash-orange.png");

  // The first paint after the hand-over presses PLAY when the program starts playing.
  p.startup.playAtStartupArmed = true;
  gui->run([&] { p.splash.timer("Timer1").tick(); });
  QApplication::processEvents();
  settle();
  EXPECT_TRUE(gui->mainWindow().isVisible());
  EXPECT_FALSE(gui->splashWindow().isVisible());
  EXPECT_EQ(gui->mainWindow().size(), QSize(712, 576));
  EXPECT_EQ(p.main.picture("Pause", 0).picture(), "play2.bmp");
  EXPECT_FALSE(p.startup.playAtStartupArmed);
}

TEST_F(StartupWindowTest, TheSplashStaysInTheMiddleOfTheScreen) {
  p.splash.visible = true;
  gui->splashWindow().centreOnScreen();
  settle();
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QPoint middle = screen.center() - QPoint(200, 120);
  EXPECT_EQ(gui->splashWindow().pos(), middle);
  // Later updates of the window keep the place.
  gui->run([&] { shell::startProgram(p); });
  settle();
  EXPECT_EQ(gui->splashWindow().pos(), middle);
}

TEST_F(StartupWindowTest, AClickOnTheSplashHandsOverAtOnce) {
  p.splash.visible = true;
  settle();
  gui->run([&] { shell::startProgram(p); });
  QPoint middle = gui->splashWindow().canvas().rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(middle), QPointF(middle), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(middle), QPointF(middle), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&gui->splashWindow().canvas(), &press);
  QApplication::sendEvent(&gui->splashWindow().canvas(), &release);
  settle();
  EXPECT_TRUE(gui->mainWindow().isVisible());
  EXPECT_FALSE(gui->splashWindow().isVisible());
}

TEST_F(StartupWindowTest, TheAboutAndSkinWindowsAreBuiltFromTheirForms) {
  showWith("orange");
  view::FormWindow& about = *gui->dialogOf(p.about);
  view::FormWindow& skinWindow = *gui->dialogOf(p.fontInfo);
  p.main.menu("version").events.click();
  settle();
  ASSERT_TRUE(about.isVisible());
  save(about, "about.png");
  auto* ok = about.widgetOf("OK");
  ASSERT_NE(ok, nullptr);
  QMetaObject::invokeMethod(ok, "click");
  settle();
  EXPECT_FALSE(about.isVisible());

  p.main.menu("skin").events.click();
  settle();
  ASSERT_TRUE(skinWindow.isVisible());
  EXPECT_EQ(skinWindow.windowTitle(), "SKIN");
  auto* skins = dynamic_cast<view::ListBoxView*>(skinWindow.widgetOf("List2"));
  ASSERT_NE(skins, nullptr);
  ASSERT_EQ(skins->model()->rowCount(), 2);
  save(skinWindow, "skin-window.png");
  // Choosing the other skin redraws the window from it.
  QTest::mouseClick(skins->viewport(), Qt::LeftButton, {}, skins->visualRect(skins->model()->index(0, 0)).center());
  settle();
  EXPECT_EQ(p.settings.skinName, "midnight");
  EXPECT_EQ(skinWindow.widgetOf("lblHeading")->property("text").toString(), "midnightのフォントの編集");
}

}  // namespace
}  // namespace vx::test
