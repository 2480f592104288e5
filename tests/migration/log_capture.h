// Sends the setup log into a fresh folder while it lives, so tests can read what was logged.
#pragma once

#include <string>

#include "app/base/setup_log.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

class LogCapture {
 public:
  LogCapture() : previous_(GetLogDirectory()) { SetLogDirectory(folder_.path()); }
  ~LogCapture() { SetLogDirectory(previous_); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::string Text() const {
    return platform::PathExists(GetLogFilePath()) ? folder_.ReadFile("VexorandSetupLog.txt") : "";
  }
  bool Contains(const std::string& text) const { return Text().find(text) != std::string::npos; }

 private:
  TempFolder folder_;
  std::string previous_;
};
