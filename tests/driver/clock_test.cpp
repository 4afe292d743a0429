// Virtual time: exact frame accounting and timers that keep their phase.
#include <gtest/gtest.h>

#include "driver/virtual_clock.h"

namespace vx::driver {
namespace {

TEST(VirtualClock, FramesAddUpExactlyAtAnyRate) {
  VirtualClock cd(44100);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(cd.advance(30), 1323);

  // 30 ms at 22050 Hz is 661.5 frames: the steps alternate and never drift
  VirtualClock half(22050);
  long long total = 0;
  for (int i = 0; i < 1001; ++i) {
    int f = half.advance(30);
    EXPECT_TRUE(f == 661 || f == 662);
    total += f;
  }
  EXPECT_EQ(total, 1001LL * 30 * 22050 / 1000);
  EXPECT_EQ(half.nowMs(), 30030);
}

class TimerScheduleTest : public ::testing::Test {
 protected:
  TimerScheduleTest() {
    main_.interval = 30;
    main_.tick = [this] { ++mainFired; };
    rec.interval = 100;
    rec.tick = [this] { firedAt.push_back(now); };
  }
  // Ticks until `until` ms, as the driver does.
  void runUntil(long long until) {
    while (now < until) {
      now += 30;
      schedule.run(forms, now, &main_);
    }
  }

  form::Form form{"frmTest"};
  form::Timer& rec = form.add<form::Timer>("Timer2");
  form::Timer& main_ = form.add<form::Timer>("Timer1");
  std::vector<form::Form*> forms{&form};
  TimerSchedule schedule;
  long long now = 0;
  int mainFired = 0;
  std::vector<long long> firedAt;
};

TEST_F(TimerScheduleTest, FiresOnTheFirstTickAtOrAfterEachInterval) {
  schedule.note(forms, 0);
  runUntil(300);
  EXPECT_EQ(firedAt, (std::vector<long long>{120, 210, 300}));
  EXPECT_EQ(mainFired, 0);  // the main timer is the driver's own business
}

TEST_F(TimerScheduleTest, DisabledTimersWaitAndRestartTheirInterval) {
  rec.setEnabled(false);
  schedule.note(forms, 0);
  runUntil(150);
  EXPECT_TRUE(firedAt.empty());
  rec.setEnabled(true);  // enabled by a command at 150 ms
  schedule.note(forms, now);
  runUntil(360);
  EXPECT_EQ(firedAt, (std::vector<long long>{270, 360}));
}

TEST_F(TimerScheduleTest, ATimerThatStopsItselfFiresOnce) {
  rec.tick = [this] {
    firedAt.push_back(now);
    rec.setEnabled(false);
  };
  schedule.note(forms, 0);
  runUntil(1000);
  EXPECT_EQ(firedAt, (std::vector<long long>{120}));
}

TEST_F(TimerScheduleTest, ShortIntervalsFireAsOftenAsTimeAllows) {
  rec.interval = 10;
  schedule.note(forms, 0);
  runUntil(60);
  EXPECT_EQ(firedAt.size(), 6u);
}

TEST_F(TimerScheduleTest, TimersWithoutHandlerOrIntervalNeverFire) {
  rec.interval = 0;
  schedule.note(forms, 0);
  runUntil(600);
  EXPECT_TRUE(firedAt.empty());
}

}  // namespace
}  // namespace vx::driver
