// Records every message box shown while it lives and answers them from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/message_box.h"

struct RecordedMessage {
  std::string text;
  unsigned style;
};

class MessageRecorder {
 public:
  // Answers not scripted are the box's first button (OK or Yes).
  explicit MessageRecorder(std::deque<int> answers = {});
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<RecordedMessage>& messages() const { return messages_; }
  void Answer(int button) { answers_.push_back(button); }

 private:
  std::deque<int> answers_;
  std::vector<RecordedMessage> messages_;
};
