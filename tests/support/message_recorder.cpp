#include "tests/support/message_recorder.h"

#include <utility>

#include "base/setup_log.h"

MessageRecorder::MessageRecorder(std::deque<int> answers)
    : RecordingSink(std::move(answers)),
      messageFunction_(
          [this](const std::string& text, unsigned style) { return ShowMessage(text, style); }) {
  UseLanguage(0);
}

MessageRecorder::~MessageRecorder() = default;

void MessageRecorder::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}
