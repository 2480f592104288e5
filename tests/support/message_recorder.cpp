#include "tests/support/message_recorder.h"

#include <utility>

#include "base/setup_log.h"

MessageRecorder::MessageRecorder(std::deque<int> answers) : RecordingSink(std::move(answers)) {
  UseLanguage(0);
  SetMessageBoxFunction(
      [this](const std::string& text, unsigned style) { return ShowMessage(text, style); });
}

MessageRecorder::~MessageRecorder() {
  SetMessageBoxFunction(nullptr);
}

void MessageRecorder::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}
