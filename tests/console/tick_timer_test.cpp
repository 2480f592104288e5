#include "console/tick_timer.h"

#include <gtest/gtest.h>

using std::chrono::milliseconds;

TEST(TickTimerTest, TicksOncePerPeriodAndRestartsWhenArmed) {
  TickTimer timer(milliseconds(40));
  EXPECT_FALSE(timer.IsRunning());
  const TickTimer::Clock::time_point start{};
  timer.Start(start);
  EXPECT_TRUE(timer.IsRunning());
  EXPECT_EQ(timer.Due(), start + milliseconds(40));

  timer.Advance(start + milliseconds(40));
  EXPECT_EQ(timer.Due(), start + milliseconds(80));

  // A step that outlasts several periods gets one tick at once, not one per missed period, and
  // the next keeps the rhythm.
  timer.Advance(start + milliseconds(80 + 130));
  EXPECT_EQ(timer.Due(), start + milliseconds(240));

  // Arming again restarts the period.
  timer.Stop();
  EXPECT_FALSE(timer.IsRunning());
  timer.Start(start + milliseconds(250));
  EXPECT_EQ(timer.Due(), start + milliseconds(290));
}

TEST(TickTimerTest, WaitingReturnsAtTheDueTick) {
  TickTimer timer(milliseconds(5));
  timer.Start();
  const TickTimer::Clock::time_point due = timer.Due();
  timer.WaitForTick();
  EXPECT_GE(TickTimer::Clock::now(), due);
  EXPECT_GT(timer.Due(), due);
}
