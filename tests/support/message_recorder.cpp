#include "tests/support/message_recorder.h"

#include <utility>

#include "base/language.h"
#include "base/setup_log.h"

MessageRecorder::MessageRecorder(std::deque<int> answers) : answers_(std::move(answers)) {
  SetMessageBoxFunction(
      [this](const std::string& text, unsigned style) { return ShowMessage(text, style); });
}

MessageRecorder::~MessageRecorder() {
  SetMessageBoxFunction(nullptr);
}

int MessageRecorder::ShowMessage(const std::string& text, unsigned style) {
  messages_.push_back({text, style});
  if (answers_.empty()) {
    return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
  }
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void MessageRecorder::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}

int MessageRecorder::Language() const {
  return GetLanguage();
}
