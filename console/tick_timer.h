// The console's step timer: a steady tick every period while armed, as a window timer gives.
#pragma once

#include <chrono>

class TickTimer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TickTimer(std::chrono::milliseconds period) : period_(period) {}

  // (Re)arms the timer: the next tick is one period from `now`.
  void Start(Clock::time_point now = Clock::now());
  void Stop() { running_ = false; }
  bool IsRunning() const { return running_; }

  // When the next tick is due.
  Clock::time_point Due() const { return due_; }

  // Takes the tick that was due at `now` and schedules the next. Ticks missed while a step ran
  // are not made up: the next keeps the period's rhythm, as with a window timer.
  void Advance(Clock::time_point now);

  // Sleeps until the next tick is due, then advances.
  void WaitForTick();

 private:
  std::chrono::milliseconds period_;
  bool running_ = false;
  Clock::time_point due_;
};
