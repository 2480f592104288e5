// What tests may do to a sequencer beyond its interface: put it straight into a state, so that
// one step runs on its own, and see its payload.
#pragma once

#include <ostream>

#include "app/update_sequencer.h"
#include "platform/process.h"

struct SequencerTestAccess {
  static void SetState(CUpdateSequencer* sequencer, SequencerState state) {
    sequencer->state_ = state;
  }
  // Numbers that are not states too, for the sequencer's answer to them.
  static void SetStateNumber(CUpdateSequencer* sequencer, int number) {
    sequencer->state_ = static_cast<SequencerState>(number);
  }
  // The running payload, so that a test can wait for it without ending the sequencer's wait.
  static const platform::ProcessHandles& Payload(const CUpdateSequencer& sequencer) {
    return sequencer.payload_.handles;
  }
};

// Failure messages show the state's number.
inline std::ostream& operator<<(std::ostream& out, SequencerState state) {
  return out << static_cast<int>(state);
}
