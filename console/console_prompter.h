// Message boxes on a terminal: the text, then a prompt naming the buttons; answered from the
// terminal or from the scripted answers of the command line.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "console/console_options.h"

class ConsolePrompter {
 public:
  ConsolePrompter(const ConsoleOptions& options, std::istream& in, std::ostream& out);

  // Shows `text` with a Windows message-box style and returns the button chosen (kIdOk, ...).
  int Prompt(const std::string& text, unsigned style);

  // Asks for the language as the language dialog does: 0 Chinese, 2 Russian, -1 cancelled.
  int AskLanguage();
  // The language the questions are shown in, to tell them by their text (0 until set).
  void UseLanguage(int languageIndex) { language_ = languageIndex; }

 private:
  // One answer for a question after showing `choices`, again after a word it does not know:
  // `defaultYes` for an empty line; No when no answer is left, since nobody agreed to anything
  // more.
  bool Answer(bool defaultYes, const std::string& question, const char* choices);
  // A line from the terminal; false at its end.
  bool ReadLine(std::string* line);

  std::istream& in_;
  std::ostream& out_;
  bool scripted_;
  bool answerAll_;
  bool answerAllYes_;
  bool allowPowerOff_;
  std::vector<bool> answers_;
  std::map<std::string, bool> namedAnswers_;
  std::size_t nextAnswer_ = 0;
  int language_ = 0;
};
