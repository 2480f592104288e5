#include "console/question_names.h"

#include "base/language.h"
#include "base/messages.h"

namespace {

struct NamedQuestion {
  const char* name;
  const TwoTextMessage* message;
};

// The update warning carries the maker folder, the unfinished-run question a time and a list of
// configurations; the keep question follows a list. They are recognised by the text around their
// inserts.
const NamedQuestion kQuestions[] = {
    {"start", &kStartConfirmation},
    {"delete-installation", &kUpdateWarning},
    {"unfinished-run", &kUnfinishedRunQuestion},
    {"keep-parameters", &kKeepParametersQuestion},
    {"separate", &kSeparationQuestion},
    {"power-off", &kPowerOffQuestion},
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> PiecesAroundInserts(const std::string& localised) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t insert; (insert = localised.find("%s", start)) != std::string::npos;
       start = insert + 2) {
    pieces.push_back(localised.substr(start, insert - start));
  }
  pieces.push_back(localised.substr(start));
  return pieces;
}

bool Matches(const std::string& text, const NamedQuestion& question, int languageIndex) {
  const std::string localised = LocaliseFor(*question.message, languageIndex);
  if (question.message == &kKeepParametersQuestion) return EndsWith(text, localised);
  const std::vector<std::string> pieces = PiecesAroundInserts(localised);
  if (pieces.size() == 1) return text == localised;
  if (text.compare(0, pieces.front().size(), pieces.front()) != 0) return false;
  std::size_t at = pieces.front().size();
  for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
    at = text.find(pieces[i], at);
    if (at == std::string::npos) return false;
    at += pieces[i].size();
  }
  return text.size() >= at + pieces.back().size() && EndsWith(text, pieces.back());
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

std::string QuestionName(const std::string& text, int languageIndex) {
  for (const NamedQuestion& question : kQuestions) {
    if (Matches(text, question, languageIndex)) return question.name;
  }
  return "";
}
