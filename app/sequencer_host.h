// What the update sequencer needs from the window that hosts it: step labels, modal messages, the
// step timer and the end of the run.
#pragma once

#include "app/step_host.h"

class ISequencerHost : public IStepHost {
 public:
  // Makes step label `labelId` (the Chinese identifier, 140 to 151) visible at once; the host adds
  // the language's identifier offset and ignores a label it does not have.
  virtual void ShowStepLabel(int labelId) = 0;
  // Ends the progress display with the Cancel result once the current step has returned.
  virtual void CloseProgress() = 0;
};
