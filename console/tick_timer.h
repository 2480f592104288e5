// The console's step timer: a steady tick every period while armed, as a window timer gives.
#pragma once

#include <chrono>

class TickTimer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TickTimer(std::chrono::milliseconds period) : period_(period) {}

  // (Re)arms the timer: the next tick is one period from now.
  void Start();
  void Stop() { running_ = false; }
  bool IsRunning() const { return running_; }

  // Sleeps until the next tick is due and schedules the one after it. Ticks missed while a step
  // ran are not made up: one is delivered at once, the next keeps the period's rhythm, as with a
  // window timer.
  void WaitForTick();

 private:
  std::chrono::milliseconds period_;
  bool running_ = false;
  Clock::time_point due_;
};
