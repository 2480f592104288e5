#include "console/tick_timer.h"

#include <gtest/gtest.h>

#include <thread>

using std::chrono::milliseconds;

TEST(TickTimerTest, TicksOncePerPeriodAndRestartsWhenArmed) {
  TickTimer timer(milliseconds(40));
  EXPECT_FALSE(timer.IsRunning());
  const auto start = TickTimer::Clock::now();
  timer.Start();
  EXPECT_TRUE(timer.IsRunning());
  timer.WaitForTick();
  timer.WaitForTick();
  timer.WaitForTick();
  EXPECT_GE(TickTimer::Clock::now() - start, milliseconds(120));

  // A step that outlasts several periods gets one tick at once, not one per missed period.
  std::this_thread::sleep_for(milliseconds(130));
  const auto late = TickTimer::Clock::now();
  timer.WaitForTick();
  const auto caughtUp = TickTimer::Clock::now();
  EXPECT_LT(caughtUp - late, milliseconds(20));
  timer.WaitForTick();
  EXPECT_GE(TickTimer::Clock::now() - caughtUp, milliseconds(5));

  // Arming again restarts the period.
  timer.Stop();
  EXPECT_FALSE(timer.IsRunning());
  const auto armed = TickTimer::Clock::now();
  timer.Start();
  timer.WaitForTick();
  EXPECT_GE(TickTimer::Clock::now() - armed, milliseconds(40));
}
