#include "platform/shell_copy.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ShellCopyTest, CopiesFilesAndFoldersIntoANewDestination) {
  TempFolder folder;
  folder.WriteFile("src\\a.txt", "a");
  folder.WriteFile("src\\Sub\\Deep\\b.txt", "b");
  platform::MakeDirectory(folder.Path("src\\Empty"));

  EXPECT_TRUE(platform::ShellCopy(folder.Path("src\\*.*"), folder.Path("dst\\new"), "Copy files"));
  EXPECT_EQ(folder.ReadFile("dst\\new\\a.txt"), "a");
  EXPECT_EQ(folder.ReadFile("dst\\new\\Sub\\Deep\\b.txt"), "b");
  EXPECT_TRUE(platform::IsDirectory(folder.Path("dst\\new\\Empty")));
  // The source itself is left as it was.
  EXPECT_EQ(folder.ReadFile("src\\a.txt"), "a");
}

TEST(ShellCopyTest, ReplacesExistingFilesAndKeepsOthers) {
  TempFolder folder;
  folder.WriteFile("src\\a.txt", "new");
  folder.WriteFile("dst\\a.txt", "old");
  folder.WriteFile("dst\\keep.txt", "keep");
  EXPECT_TRUE(platform::ShellCopy(folder.Path("src\\*.*"), folder.Path("dst")));
  EXPECT_EQ(folder.ReadFile("dst\\a.txt"), "new");
  EXPECT_EQ(folder.ReadFile("dst\\keep.txt"), "keep");
}

TEST(ShellCopyTest, CopiesOnlyWhatThePatternNames) {
  TempFolder folder;
  folder.WriteFile("src\\a.sys", "1");
  folder.WriteFile("src\\b.inf", "2");
  platform::MakeDirectory(folder.Path("dst"));
  EXPECT_TRUE(platform::ShellCopy(folder.Path("src\\*.sys"), folder.Path("dst\\")));
  EXPECT_TRUE(platform::PathExists(folder.Path("dst\\a.sys")));
  EXPECT_FALSE(platform::PathExists(folder.Path("dst\\b.inf")));
}

}  // namespace
