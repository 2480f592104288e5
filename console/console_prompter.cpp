#include "console/console_prompter.h"

#include <istream>
#include <ostream>

#include "base/message_box.h"
#include "console/question_names.h"

namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kYesNoCancel = 0x03;

}  // namespace

ConsolePrompter::ConsolePrompter(const ConsoleOptions& options, std::istream& in, std::ostream& out)
    : in_(in),
      out_(out),
      scripted_(options.scripted),
      answerAll_(options.answerAll),
      answerAllYes_(options.answerAllYes),
      allowPowerOff_(options.allowPowerOff),
      answers_(options.answers),
      namedAnswers_(options.namedAnswers) {}

int ConsolePrompter::Prompt(const std::string& text, unsigned style) {
  const unsigned buttons = style & kButtonsMask;
  const bool secondIsDefault = (style & kMbDefaultButton2) != 0;
  const std::string question = QuestionName(text, language_);
  out_ << "\n" << text << "\n";
  if (buttons == kMbOkCancel) {
    const bool ok =
        Answer(!secondIsDefault, question,
               secondIsDefault ? "[OK / Cancel, default Cancel] " : "[OK / Cancel, default OK] ");
    out_ << (ok ? "OK" : "Cancel") << "\n";
    return ok ? kIdOk : kIdCancel;
  }
  if (buttons == kMbYesNo || buttons == kYesNoCancel) {
    const bool yes =
        Answer(!secondIsDefault, question,
               secondIsDefault ? "[Yes / No, default No] " : "[Yes / No, default Yes] ");
    out_ << (yes ? "Yes" : "No") << "\n";
    if (yes && question == "power-off" && !allowPowerOff_) {
      out_ << "setup: the power-off is skipped: --allow-power-off was not given, so the "
              "computer stays on\n";
    }
    return yes ? kIdYes : kIdNo;
  }
  out_ << "[OK] ";
  if (!scripted_) {
    std::string line;
    ReadLine(&line);
  }
  out_ << "OK\n";
  return kIdOk;
}

int ConsolePrompter::AskLanguage() {
  out_ << "Choose the language:\n  1  选择中文界面\n  2  RUSSIAN\n[1 / 2, default 2, q quits] ";
  std::string line;
  while (ReadLine(&line)) {
    if (line == "1") {
      return 0;
    }
    if (line.empty() || line == "2") {
      return 2;
    }
    if (line == "q") {
      return -1;
    }
    out_ << "[1 / 2, default 2, q quits] ";
  }
  return -1;
}

bool ConsolePrompter::Answer(bool defaultYes, const std::string& question, const char* choices) {
  out_ << choices;
  if (answerAll_) {
    return answerAllYes_;
  }
  const auto named = namedAnswers_.find(question);
  if (scripted_ && named != namedAnswers_.end()) {
    return named->second;
  }
  if (scripted_) {
    return nextAnswer_ < answers_.size() && answers_[nextAnswer_++];
  }
  std::string line;
  while (ReadLine(&line)) {
    if (line.find_first_not_of(" \t") == std::string::npos) {
      return defaultYes;
    }
    bool yes = false;
    if (ParseAnswerWord(line, &yes)) {
      return yes;
    }
    out_ << choices;
  }
  return false;
}

bool ConsolePrompter::ReadLine(std::string* line) {
  out_.flush();
  if (!std::getline(in_, *line)) {
    return false;
  }
  if (!line->empty() && line->back() == '\r') {
    line->pop_back();
  }
  return true;
}
