#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/folder_tree.h"
#include "platform/file_system.h"
#include "tests/support/recording_sink.h"
#include "tests/support/staged_machine.h"

namespace {

// A read-only folder cannot be removed, as on Windows. Entries are handled in name order here,
// so what lies before the failure is gone and what lies after it is untouched.
TEST(DeleteTreePosix, EntriesAfterTheFailureStayInPlace) {
  StagedMachine machine;
  RecordingSink log;
  machine.WriteFile("C:\\Tree\\A\\1.txt", "1");
  machine.WriteFile("C:\\Tree\\M\\Stuck\\2.txt", "2");
  machine.WriteFile("C:\\Tree\\Z\\3.txt", "3");
  machine.WriteFile("C:\\Tree\\z.txt", "z");
  ASSERT_TRUE(platform::SetAttributes("C:\\Tree\\M\\Stuck", platform::kAttributeReadOnly));
  EXPECT_FALSE(DeleteTree(log, "C:\\Tree"));
  EXPECT_FALSE(machine.Exists("C:\\Tree\\A"));
  EXPECT_FALSE(machine.Exists("C:\\Tree\\M\\Stuck\\2.txt"));
  EXPECT_TRUE(machine.Exists("C:\\Tree\\M\\Stuck"));
  EXPECT_TRUE(machine.Exists("C:\\Tree\\Z\\3.txt"));
  EXPECT_TRUE(machine.Exists("C:\\Tree\\z.txt"));
}

TEST(DeleteTreePosix, OverLongEntryStopsTheDeletionWithALogLine) {
  StagedMachine machine;
  RecordingSink log;
  const std::string deep = "C:\\Tree\\" + std::string(240, 'x') + "\\" + std::string(30, 'y');
  machine.WriteFile(deep, "far");
  EXPECT_FALSE(DeleteTree(log, "C:\\Tree"));
  EXPECT_TRUE(machine.Exists(deep));
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find(std::string(30, 'y')), std::string::npos);
}

// A link in the tree goes as a link: what it points to lies outside the tree and stays.
TEST(DeleteTreePosix, LinksAreRemovedNeverFollowed) {
  StagedMachine machine;
  machine.WriteFile("C:\\Outside\\Folder\\keep.txt", "k");
  machine.WriteFile("C:\\Outside\\file.txt", "f");
  machine.WriteFile("C:\\Tree\\Sub\\a.txt", "a");
  RecordingSink log;
  const std::string tree = machine.HostPath("C:\\Tree");
  const std::string target = machine.HostPath("C:\\Outside\\file.txt");
  ASSERT_EQ(symlink(machine.HostPath("C:\\Outside\\Folder").c_str(), (tree + "/Linked").c_str()),
            0);
  ASSERT_EQ(symlink(target.c_str(), (tree + "/Sub/file.lnk").c_str()), 0);
  ASSERT_EQ(symlink((tree + "/gone").c_str(), (tree + "/Dangling").c_str()), 0);

  // Making the link read-only leaves its target as it was.
  ASSERT_TRUE(platform::SetAttributes("C:\\Tree\\Sub\\file.lnk", platform::kAttributeReadOnly));
  struct stat status;
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_NE(status.st_mode & S_IWUSR, 0u);
  EXPECT_EQ(platform::GetAttributes("C:\\Tree\\Sub\\file.lnk"),
            platform::kAttributeReadOnly | platform::kAttributeReparsePoint);

  EXPECT_TRUE(DeleteTree(log, "C:\\Tree"));
  EXPECT_FALSE(machine.Exists("C:\\Tree"));
  EXPECT_EQ(machine.ReadFile("C:\\Outside\\Folder\\keep.txt"), "k");
  EXPECT_EQ(machine.ReadFile("C:\\Outside\\file.txt"), "f");
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_NE(status.st_mode & S_IWUSR, 0u);
}

}  // namespace
