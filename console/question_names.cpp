#include "console/question_names.h"

#include "base/language.h"
#include "base/messages.h"

namespace {

struct NamedQuestion {
  const char* name;
  const TwoTextMessage* message;
};

// The update warning carries the maker folder; the keep question follows a list of
// configurations. Both are recognised by the text around their inserts.
const NamedQuestion kQuestions[] = {
    {"start", &kStartConfirmation},
    {"delete-installation", &kUpdateWarning},
    {"keep-parameters", &kKeepParametersQuestion},
    {"separate", &kSeparationQuestion},
    {"power-off", &kPowerOffQuestion},
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Matches(const std::string& text, const NamedQuestion& question) {
  const std::string localised = Localise(*question.message);
  if (question.message == &kKeepParametersQuestion) return EndsWith(text, localised);
  const std::size_t insert = localised.find("%s");
  if (insert == std::string::npos) return text == localised;
  return text.compare(0, insert, localised, 0, insert) == 0 &&
         EndsWith(text, localised.substr(insert + 2));
}

}  // namespace

const std::vector<std::string>& QuestionNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const NamedQuestion& question : kQuestions) all.push_back(question.name);
    return all;
  }();
  return names;
}

std::string QuestionName(const std::string& text) {
  for (const NamedQuestion& question : kQuestions) {
    if (Matches(text, question)) return question.name;
  }
  return "";
}
