// Sends the setup log of a run into a fresh folder while it lives, so tests can read what the run
// logged.
#pragma once

#include <string>
#include <vector>

#include "tests/support/scoped_log_directory.h"
#include "tests/support/temp_folder.h"

class LogCapture {
 public:
  explicit LogCapture(SetupRun& run) : log_(run, folder_.path()) {}

  // The whole log file, time stamps included; empty when nothing was logged.
  std::string Text() const;
  bool Contains(const std::string& text) const { return Text().find(text) != std::string::npos; }
  // The texts of the entries written so far, without their time stamps.
  std::vector<std::string> Entries() const;

  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_;
  ScopedLogDirectory log_;
};
