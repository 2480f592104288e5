#include <gtest/gtest.h>

#include <filesystem>

#include "base/setup_log.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_machine.h"

namespace {

// The folder exists and fits, but the file name would take the path past 259 characters.
TEST(SetupLogPosix, OverLongLogPathIsRefusedNotCut) {
  StagedMachine machine;
  MessageRecorder messages;
  const std::string directory = "C:\\" + std::string(250, 'd') + "\\";
  machine.MakeFolder(directory);
  messages.Run().logDirectory = directory;
  AppendLogLine("lost", messages);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, "Open log file failed!");
  EXPECT_TRUE(std::filesystem::is_empty(machine.HostPath(directory)));
}

}  // namespace
