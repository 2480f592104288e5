// The sequencer's step timer as the steps outside the sequencer see it: a step that starts a
// process or copies for long stops the timer first, so that no tick arrives in the middle of it.
#pragma once

class IStepTimer {
 public:
  virtual ~IStepTimer() = default;
  virtual void StopStepTimer() = 0;
  virtual void StartStepTimer() = 0;
};
