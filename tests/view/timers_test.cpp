// The window's timers wake the program only when a tick can do something: the main tick rests
// while nothing plays or moves and comes back with the next event.
#include <QTest>

#include "tests/view/qt_app.h"
#include "tests/view/window_fixture.h"
#include "view/program_icon.h"

namespace vx::test {
namespace {

class TimersTest : public WindowFixture {
 protected:
  int ticks = 0;
  bool soundIdle = true;
  void SetUp() override {
    testApp();
    p.skin.roots = {kSkinRoot};
    gui = std::make_unique<view::GuiApp>(p, nullptr, view::findProgramIcon(VELVOX_BUILD_DIR), view::KeyboardFamily::Standard,
                                         [this] { return soundIdle; });
    showWith("orange");
    auto& timer = p.main.timer("Timer1");
    auto inner = timer.tick;
    timer.tick = [this, inner] {
      ++ticks;
      if (inner) inner();
    };
    gui->startTimers();
  }
  // Lets the event loop run for `ms` and returns the ticks it ran.
  int ticksIn(int ms) {
    int before = ticks;
    QTest::qWait(ms);
    return ticks - before;
  }
};

TEST_F(TimersTest, TheMainTickRestsWhileNothingHappensAndComesBackWithTheNextEvent) {
  QTest::qWait(100);
  ASSERT_TRUE(gui->mainTickResting());
  EXPECT_EQ(ticksIn(300), 0);

  // A deck that plays keeps the tick going.
  gui->run([&] { t.player(0).state = platform::Playing; });
  EXPECT_FALSE(gui->mainTickResting());
  EXPECT_GE(ticksIn(300), 4);
  EXPECT_FALSE(gui->mainTickResting());

  // Stopped, it rests again after one quiet tick.
  t.player(0).state = platform::Paused;
  QTest::qWait(100);
  EXPECT_TRUE(gui->mainTickResting());
  EXPECT_EQ(ticksIn(200), 0);
}

TEST_F(TimersTest, TheTickGoesOnWhileTheSoundStillHasEventsToDeliver) {
  soundIdle = false;
  gui->run([] {});
  EXPECT_GE(ticksIn(300), 4);
  EXPECT_FALSE(gui->mainTickResting());
  soundIdle = true;
  QTest::qWait(100);
  EXPECT_TRUE(gui->mainTickResting());
}

TEST_F(TimersTest, ATickThatChangedSomethingIsFollowedByAnother) {
  QTest::qWait(100);
  ASSERT_TRUE(gui->mainTickResting());
  // Something in the tick changes the window on its own (as an automatic check may): the tick
  // keeps running for as long as it does.
  int changes = 3;
  auto& timer = p.main.timer("Timer1");
  auto inner = timer.tick;
  timer.tick = [&, inner] {
    inner();
    if (changes == 0) return;
    --changes;
    p.main.label("bartime").setCaption("step " + std::to_string(changes));
  };
  gui->run([] {});
  QTest::qWait(400);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(gui->mainTickResting());
}

}  // namespace
}  // namespace vx::test
