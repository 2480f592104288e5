// Puts a sequencer straight into a state, so that a test runs one step on its own.
#pragma once

#include <ostream>

#include "app/update_sequencer.h"

struct SequencerTestAccess {
  static void SetState(CUpdateSequencer* sequencer, SequencerState state) {
    sequencer->state_ = state;
  }
  // Numbers that are not states too, for the sequencer's answer to them.
  static void SetStateNumber(CUpdateSequencer* sequencer, int number) {
    sequencer->state_ = static_cast<SequencerState>(number);
  }
};

// Failure messages show the state's number.
inline std::ostream& operator<<(std::ostream& out, SequencerState state) {
  return out << static_cast<int>(state);
}
