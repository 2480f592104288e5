// A message sink for tests that keeps what is reported to it and reaches no process-wide channel:
// the message boxes, answered from a script, and the log entries, in a language of its own.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/message_sink.h"

struct RecordedMessage {
  std::string text;
  unsigned style;
};

class RecordingSink : public IMessageSink {
 public:
  // Answers not scripted are the box's first button (OK or Yes).
  explicit RecordingSink(std::deque<int> answers = {});

  const std::vector<RecordedMessage>& messages() const { return messages_; }
  const std::vector<std::string>& entries() const { return entries_; }
  void Answer(int button) { answers_.push_back(button); }
  // 0 Chinese, 1 English (until set), 2 Russian.
  void UseLanguage(int index) { language_ = index; }

  int ShowMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override { entries_.push_back(text); }
  int Language() const override { return language_; }

 private:
  std::deque<int> answers_;
  std::vector<RecordedMessage> messages_;
  std::vector<std::string> entries_;
  int language_ = 1;
};
