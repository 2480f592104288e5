#include "tests/support/recording_sink.h"

#include <utility>

#include "tests/support/test_log_directory.h"

RecordingSink::RecordingSink(std::deque<int> answers) : answers_(std::move(answers)) {
  run_.language = 1;
  run_.logDirectory = TestLogDirectory();
}

int RecordingSink::ShowMessage(const std::string& text, unsigned style) {
  return Record(text, style, false);
}

int RecordingSink::ShowUnownedMessage(const std::string& text, unsigned style) {
  return Record(text, style, true);
}

int RecordingSink::Record(const std::string& text, unsigned style, bool unowned) {
  messages_.push_back({text, style, unowned});
  if (answers_.empty()) {
    return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
  }
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}
