#include "tests/support/message_recorder.h"

#include <utility>

#include "base/language.h"
#include "base/setup_log.h"

MessageRecorder::MessageRecorder(std::deque<int> answers) : RecordingSink(std::move(answers)) {
  SetMessageBoxFunction(
      [this](const std::string& text, unsigned style) { return ShowMessage(text, style); });
}

MessageRecorder::~MessageRecorder() {
  SetMessageBoxFunction(nullptr);
}

void MessageRecorder::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}

int MessageRecorder::Language() const {
  return GetLanguage();
}
