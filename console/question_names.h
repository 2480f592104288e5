// The names a scripted answer can give the questions Setup asks, so that an answer still reaches
// its question when another question is not asked on this machine.
#pragma once

#include <string>
#include <vector>

// Every name, in the order the update asks the questions.
const std::vector<std::string>& QuestionNames();

// The name of the question `text` as language `languageIndex` shows it, or "" for a message
// without a name (errors, reports).
std::string QuestionName(const std::string& text, int languageIndex);
