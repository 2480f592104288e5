// A message sink for tests that keeps what is reported to it and reaches no process-wide channel:
// the message boxes, answered from a script, and the log entries, with a run of its own (a fresh
// one for every test).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "base/setup_run.h"

struct RecordedMessage {
  std::string text;
  unsigned style;
  bool unowned;  // shown by ShowUnownedMessage
};

class RecordingSink : public IMessageSink {
 public:
  // Answers not scripted are the box's first button (OK or Yes).
  explicit RecordingSink(std::deque<int> answers = {});

  const std::vector<RecordedMessage>& messages() const { return messages_; }
  const std::vector<std::string>& entries() const { return entries_; }
  void Answer(int button) { answers_.push_back(button); }
  // 0 Chinese, 1 English (until set), 2 Russian.
  void UseLanguage(int index) { run_.language = index; }

  int ShowMessage(const std::string& text, unsigned style) override;
  int ShowUnownedMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override { entries_.push_back(text); }
  SetupRun& Run() const override { return run_; }

 private:
  int Record(const std::string& text, unsigned style, bool unowned);

  std::deque<int> answers_;
  std::vector<RecordedMessage> messages_;
  std::vector<std::string> entries_;
  mutable SetupRun run_;
};
