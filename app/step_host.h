// What the backup step needs from the sequencer's host: the step timer and its modal message.
#pragma once

#include <string>

#include "app/step_timer.h"

class IStepHost : public IStepTimer {
 public:
  // Shows `text` (UTF-8) with a Windows message-box style; returns the button pressed.
  virtual int ShowMessage(const std::string& text, unsigned style) = 0;
};
