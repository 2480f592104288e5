// Sets the language index for one test and puts the previous one back.
#pragma once

#include "base/language.h"

class ScopedLanguage {
 public:
  explicit ScopedLanguage(int index) : previous_(GetLanguage()) { SetLanguage(index); }
  ~ScopedLanguage() { SetLanguage(previous_); }
  ScopedLanguage(const ScopedLanguage&) = delete;
  ScopedLanguage& operator=(const ScopedLanguage&) = delete;

 private:
  int previous_;
};
