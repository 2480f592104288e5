// Sends the setup log of one test to a fresh folder and reads its entries back.
#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The texts of the entries written so far, without their time stamps.
  std::vector<std::string> Entries() const;
  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_;
  std::string previous_;
};
