#include "tests/support/message_recorder.h"

#include <utility>

MessageRecorder::MessageRecorder(std::deque<int> answers) : answers_(std::move(answers)) {
  SetMessageBoxFunction([this](const std::string& text, unsigned style) {
    messages_.push_back({text, style});
    if (answers_.empty()) {
      return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  });
}

MessageRecorder::~MessageRecorder() {
  SetMessageBoxFunction(nullptr);
}
