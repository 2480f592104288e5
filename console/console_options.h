// The command line of the console edition.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ConsoleOptions {
  enum class Language { kAsk, kChinese, kRussian };

  std::string root;  // the volume map's root; empty means SETUP_ROOT
  Language language = Language::kAsk;
  // Scripted answers, one per question in order; empty with `answerAll` unset means ask.
  std::vector<bool> answers;
  // Answers that name their question (QuestionNames()); they take no place in `answers`.
  std::map<std::string, bool> namedAnswers;
  bool scripted = false;
  bool answerAll = false;  // every question gets `answerAllYes`
  bool answerAllYes = false;
  bool allowPowerOff = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments (without the program name). On a mistake returns false with `error` set.
bool ParseConsoleOptions(const std::vector<std::string>& arguments, ConsoleOptions* options,
                         std::string* error);

// "yes", "y", "ok" or "no", "n", "cancel", in any letter case.
bool ParseAnswerWord(const std::string& word, bool* yes);

// The answers of an answers file: one "yes" or "no" per line ("y", "n", "ok", "cancel" too), or
// "NAME=yes" for the question NAME into `named`; '#' starts a comment, and lines without an
// answer are skipped.
bool ParseAnswers(const std::string& text, std::vector<bool>* answers, std::string* error,
                  std::map<std::string, bool>* named = nullptr);

// "NAME=WORD" with a known question name and an answer word.
bool ParseNamedAnswer(const std::string& text, std::map<std::string, bool>* named,
                      std::string* error);

// The text of --version.
std::string ConsoleVersion();
// The text of --help.
std::string ConsoleUsage();
