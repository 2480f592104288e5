// The command line of the console edition.
#pragma once

#include <string>
#include <vector>

struct ConsoleOptions {
  enum class Language { kAsk, kChinese, kRussian };

  std::string root;  // the volume map's root; empty means SETUP_ROOT
  Language language = Language::kAsk;
  // Scripted answers, one per question in order; empty with `answerAll` unset means ask.
  std::vector<bool> answers;
  bool scripted = false;
  bool answerAll = false;  // every question gets `answerAllYes`
  bool answerAllYes = false;
  bool allowPowerOff = false;
  bool help = false;
};

// Reads the arguments (without the program name). On a mistake returns false with `error` set.
bool ParseConsoleOptions(const std::vector<std::string>& arguments, ConsoleOptions* options,
                         std::string* error);

// "yes", "y", "ok" or "no", "n", "cancel", in any letter case.
bool ParseAnswerWord(const std::string& word, bool* yes);

// The answers of an answers file: one "yes" or "no" per line ("y", "n", "ok", "cancel" too);
// '#' starts a comment, and lines without an answer are skipped.
bool ParseAnswers(const std::string& text, std::vector<bool>* answers, std::string* error);

// The text of --help.
std::string ConsoleUsage();
