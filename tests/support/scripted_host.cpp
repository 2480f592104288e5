#include "tests/support/scripted_host.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/setup_log.h"
#include "tests/support/test_log_directory.h"

ScriptedHost::ScriptedHost(std::deque<int> answers)
    : answers_(std::move(answers)),
      messageFunction_(
          [this](const std::string& text, unsigned style) { return ShowMessage(text, style); }) {
  run_.logDirectory = TestLogDirectory();
}

ScriptedHost::~ScriptedHost() = default;

void ScriptedHost::ShowStepLabel(int labelId) {
  trace_.push_back("label " + std::to_string(labelId));
  if (std::find(labels_.begin(), labels_.end(), labelId) == labels_.end()) {
    labels_.push_back(labelId);
  }
}

int ScriptedHost::ShowMessage(const std::string& text, unsigned style) {
  char styleText[16];
  std::snprintf(styleText, sizeof styleText, "0x%X", style);
  trace_.push_back(std::string("message ") + styleText);
  messages_.push_back({text, style, false});
  const unsigned buttons = style & 0x0F;
  if (buttons == kMbOk) {
    return kIdOk;
  }
  if (answers_.empty()) {
    return buttons == kMbYesNo ? kIdYes : kIdOk;
  }
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedHost::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}

void ScriptedHost::StartStepTimer() {
  trace_.push_back("start");
  timerRunning_ = true;
}

void ScriptedHost::StopStepTimer() {
  trace_.push_back("stop");
  timerRunning_ = false;
}

void ScriptedHost::CloseProgress() {
  trace_.push_back("close");
  closed_ = true;
}

std::vector<std::string> ScriptedHost::TakeNewTrace() {
  std::vector<std::string> fresh(trace_.begin() + static_cast<std::ptrdiff_t>(traceTaken_),
                                 trace_.end());
  traceTaken_ = trace_.size();
  return fresh;
}
