#include <gtest/gtest.h>

#include "base/folder_tree.h"
#include "base/setup_log.h"
#include "platform/file_system.h"
#include "tests/support/staged_machine.h"

namespace {

// A read-only folder cannot be removed, as on Windows. Entries are handled in name order here,
// so what lies before the failure is gone and what lies after it is untouched.
TEST(DeleteTreePosix, EntriesAfterTheFailureStayInPlace) {
  StagedMachine machine;
  SetLogDirectory("C:\\");
  machine.WriteFile("C:\\Tree\\A\\1.txt", "1");
  machine.WriteFile("C:\\Tree\\M\\Stuck\\2.txt", "2");
  machine.WriteFile("C:\\Tree\\Z\\3.txt", "3");
  machine.WriteFile("C:\\Tree\\z.txt", "z");
  ASSERT_TRUE(platform::SetAttributes("C:\\Tree\\M\\Stuck", platform::kAttributeReadOnly));
  EXPECT_FALSE(DeleteTree("C:\\Tree"));
  EXPECT_FALSE(machine.Exists("C:\\Tree\\A"));
  EXPECT_FALSE(machine.Exists("C:\\Tree\\M\\Stuck\\2.txt"));
  EXPECT_TRUE(machine.Exists("C:\\Tree\\M\\Stuck"));
  EXPECT_TRUE(machine.Exists("C:\\Tree\\Z\\3.txt"));
  EXPECT_TRUE(machine.Exists("C:\\Tree\\z.txt"));
  SetLogDirectory("");
}

TEST(DeleteTreePosix, OverLongEntryStopsTheDeletionWithALogLine) {
  StagedMachine machine;
  SetLogDirectory("C:\\");
  const std::string deep = "C:\\Tree\\" + std::string(240, 'x') + "\\" + std::string(30, 'y');
  machine.WriteFile(deep, "far");
  EXPECT_FALSE(DeleteTree("C:\\Tree"));
  EXPECT_TRUE(machine.Exists(deep));
  EXPECT_NE(machine.ReadFile("C:\\VexorandSetupLog.txt").find(std::string(30, 'y')),
            std::string::npos);
  SetLogDirectory("");
}

}  // namespace
