// A message sink for tests that records every message box and answers them from a script. While
// it lives it is also the process-wide message function, so boxes the base layer shows on its own
// are recorded too. Log entries go to the setup log (LogCapture), the language is the process's
// (ScopedLanguage).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/message_sink.h"

struct RecordedMessage {
  std::string text;
  unsigned style;
};

class MessageRecorder : public IMessageSink {
 public:
  // Answers not scripted are the box's first button (OK or Yes).
  explicit MessageRecorder(std::deque<int> answers = {});
  ~MessageRecorder() override;
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<RecordedMessage>& messages() const { return messages_; }
  void Answer(int button) { answers_.push_back(button); }

  int ShowMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override;
  int Language() const override;

 private:
  std::deque<int> answers_;
  std::vector<RecordedMessage> messages_;
};
