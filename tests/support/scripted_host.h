// A sequencer host for tests: records step labels, messages and timer calls in the order they
// happen and answers message boxes from a script. The steps report through it, and it owns the
// run they work on (Chinese until the test sets another language). While it lives it is also the
// process-wide message function, so what a sink-less helper shows (a log file that cannot be
// written) lands in the same record. Log entries go to the setup log.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/sequencer_host.h"
#include "base/setup_run.h"
#include "tests/support/message_recorder.h"
#include "tests/support/scoped_message_box_function.h"

class ScriptedHost : public ISequencerHost {
 public:
  // `answers` are for the boxes that offer a choice, in order; a box with only OK takes none.
  // Answers not scripted are the box's first button (OK or Yes).
  explicit ScriptedHost(std::deque<int> answers = {});
  ~ScriptedHost() override;
  ScriptedHost(const ScriptedHost&) = delete;
  ScriptedHost& operator=(const ScriptedHost&) = delete;

  void ShowStepLabel(int labelId) override;
  int ShowMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override;
  SetupRun& Run() const override { return run_; }
  void StartStepTimer() override;
  void StopStepTimer() override;
  void CloseProgress() override;

  void Answer(int button) { answers_.push_back(button); }

  bool TimerRunning() const { return timerRunning_; }
  bool Closed() const { return closed_; }

  // Every call in order: "label 141", "message 0x31", "start", "stop", "close".
  const std::vector<std::string>& Trace() const { return trace_; }
  // The labels in the order first shown (a label shown again is not repeated).
  const std::vector<int>& Labels() const { return labels_; }
  const std::vector<RecordedMessage>& Messages() const { return messages_; }
  // The trace entries since the last call, to look at one step at a time.
  std::vector<std::string> TakeNewTrace();

 private:
  std::deque<int> answers_;
  std::vector<std::string> trace_;
  std::vector<int> labels_;
  std::vector<RecordedMessage> messages_;
  std::size_t traceTaken_ = 0;
  bool timerRunning_ = false;
  bool closed_ = false;
  mutable SetupRun run_;
  ScopedMessageBoxFunction messageFunction_;  // last: given back before the record goes
};
