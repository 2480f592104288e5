// Sends the setup log into `directory` for one test, or keeps it where it is for code under test
// that moves it, and puts the previous folder back.
#pragma once

#include <string>

#include "base/setup_log.h"

class ScopedLogDirectory {
 public:
  ScopedLogDirectory() : previous_(GetLogDirectory()) {}
  explicit ScopedLogDirectory(const std::string& directory) : previous_(GetLogDirectory()) {
    SetLogDirectory(directory);
  }
  ~ScopedLogDirectory() { SetLogDirectory(previous_); }
  ScopedLogDirectory(const ScopedLogDirectory&) = delete;
  ScopedLogDirectory& operator=(const ScopedLogDirectory&) = delete;

 private:
  std::string previous_;
};
