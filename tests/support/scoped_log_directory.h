// Sends the setup log of a run into `directory` for one test, and puts the previous folder back.
#pragma once

#include <string>

#include "base/setup_log.h"
#include "base/setup_run.h"

class ScopedLogDirectory {
 public:
  explicit ScopedLogDirectory(const std::string& directory) : previous_(GetLogDirectory()) {
    SetLogDirectory(directory);
  }
  ScopedLogDirectory(SetupRun& run, const std::string& directory)
      : run_(&run), previous_(GetLogDirectory()), previousOfRun_(run.logDirectory) {
    SetLogDirectory(directory);
    run.logDirectory = directory;
  }
  ~ScopedLogDirectory() {
    SetLogDirectory(previous_);
    if (run_ != nullptr) run_->logDirectory = previousOfRun_;
  }
  ScopedLogDirectory(const ScopedLogDirectory&) = delete;
  ScopedLogDirectory& operator=(const ScopedLogDirectory&) = delete;

 private:
  SetupRun* run_ = nullptr;
  std::string previous_;
  std::string previousOfRun_;
};
