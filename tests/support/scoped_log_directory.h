// Sends the setup log of a run into `directory` for one test, and puts the run's previous folder
// back.
#pragma once

#include <string>

#include "base/setup_run.h"

class ScopedLogDirectory {
 public:
  ScopedLogDirectory(SetupRun& run, const std::string& directory)
      : run_(run), previous_(run.logDirectory) {
    run.logDirectory = directory;
  }
  ~ScopedLogDirectory() { run_.logDirectory = previous_; }
  ScopedLogDirectory(const ScopedLogDirectory&) = delete;
  ScopedLogDirectory& operator=(const ScopedLogDirectory&) = delete;

 private:
  SetupRun& run_;
  std::string previous_;
};
