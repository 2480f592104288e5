// Real payload programs for the launch tests, and a timer that records what the launch does to it.
#pragma once

#include <string>
#include <vector>

#include "app/step_timer.h"

// The bytes of a program that, started without arguments, waits `milliseconds` and then writes
// "ran" into `markerFile` (a Windows path).
std::string MakeTestPayload(const std::string& markerFile, unsigned milliseconds);

class RecordingTimer : public IStepTimer {
 public:
  void StopStepTimer() override { calls.push_back("stop"); }
  void StartStepTimer() override { calls.push_back("start"); }
  std::vector<std::string> calls;
};
