// A recording sink (recording_sink.h) that is also the process-wide message function while it
// lives, so boxes the base layer shows on its own are recorded too. Log entries go to the setup
// log (LogCapture) rather than to entries(); the language is Chinese until UseLanguage.
#pragma once

#include <deque>

#include "tests/support/recording_sink.h"
#include "tests/support/scoped_message_box_function.h"

class MessageRecorder : public RecordingSink {
 public:
  explicit MessageRecorder(std::deque<int> answers = {});
  ~MessageRecorder() override;
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  void WriteLog(const std::string& text) override;

 private:
  ScopedMessageBoxFunction messageFunction_;
};
