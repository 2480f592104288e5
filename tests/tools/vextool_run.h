// vextool run in the test process with its output captured.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/vextool/commands.h"

struct VextoolOutcome {
  int status;
  std::string out;
  std::string err;
};

inline VextoolOutcome RunVextoolCaptured(const CommandArguments& arguments) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = RunVextool(arguments);
  std::string err = testing::internal::GetCapturedStderr();
  return {status, testing::internal::GetCapturedStdout(), err};
}
