#include "console/tick_timer.h"

#include <thread>

void TickTimer::Start() {
  running_ = true;
  due_ = Clock::now() + period_;
}

void TickTimer::WaitForTick() {
  std::this_thread::sleep_until(due_);
  const Clock::time_point now = Clock::now();
  do {
    due_ += period_;
  } while (due_ <= now);
}
