#include "console/tick_timer.h"

#include <thread>

void TickTimer::Start(Clock::time_point now) {
  running_ = true;
  due_ = now + period_;
}

void TickTimer::Advance(Clock::time_point now) {
  do {
    due_ += period_;
  } while (due_ <= now);
}

void TickTimer::WaitForTick() {
  std::this_thread::sleep_until(due_);
  Advance(Clock::now());
}
