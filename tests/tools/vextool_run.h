// vextool run in the test process with its output captured and its setup log recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_sink.h"
#include "tools/vextool/commands.h"

struct VextoolOutcome {
  int status;
  std::string out;
  std::string err;
  std::vector<std::string> log;  // the setup log's entries
};

inline VextoolOutcome RunVextoolCaptured(const CommandArguments& arguments) {
  RecordingSink log;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = RunVextool(arguments, log);
  std::string err = testing::internal::GetCapturedStderr();
  return {status, testing::internal::GetCapturedStdout(), err, log.entries()};
}
