#include "base/folder_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/recording_sink.h"
#include "tests/support/staged_files.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectory(folder + "*", &entries);
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

class FolderTreeTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  RecordingSink log_;
};

TEST_F(FolderTreeTest, CreateMakesOnlyTheMissingFolders) {
  MakeStagedFolders(temp_.Path("Alpha\\"));
  temp_.WriteFile("Alpha\\keep.txt", "k");
  EXPECT_TRUE(CreateFolderTree(log_, temp_.Path("ALPHA\\beta\\Gamma\\")));
  EXPECT_TRUE(platform::IsDirectory(temp_.Path("alpha\\BETA\\gamma")));
  // The existing folder was used, whatever the letter case of the request.
  EXPECT_EQ(NamesIn(temp_.path()), std::vector<std::string>{"Alpha"});
  EXPECT_EQ(temp_.ReadFile("Alpha\\keep.txt"), "k");
  // Without a trailing backslash the last component is created too; an existing tree is left.
  EXPECT_TRUE(CreateFolderTree(log_, temp_.Path("Alpha\\beta\\Delta")));
  EXPECT_TRUE(CreateFolderTree(log_, temp_.Path("Alpha\\beta")));
  EXPECT_TRUE(platform::IsDirectory(temp_.Path("Alpha\\beta\\Delta")));
}

TEST_F(FolderTreeTest, CreateStopsAtAFileInTheWay) {
  temp_.WriteFile("plain", "file");
  EXPECT_FALSE(CreateFolderTree(log_, temp_.Path("plain\\sub\\")));
  EXPECT_EQ(temp_.ReadFile("plain"), "file");
}

TEST_F(FolderTreeTest, CreateRefusesAnOverLongPath) {
  const std::string path = temp_.path() + std::string(300, 'n') + "\\";
  EXPECT_FALSE(CreateFolderTree(log_, path));
  EXPECT_TRUE(NamesIn(temp_.path()).empty());
  EXPECT_EQ(log_.entries(), std::vector<std::string>{"|E|Path too long, refused: " + path + "\n"});
}

TEST_F(FolderTreeTest, DeleteRemovesEverythingReadOnlyFilesIncluded) {
  temp_.WriteFile("Tree\\a.txt", "a");
  temp_.WriteFile("Tree\\Sub\\b.txt", "b");
  temp_.WriteFile("Tree\\Sub\\Deeper\\c.dat", "c");
  MakeStagedFolders(temp_.Path("Tree\\Empty\\"));
  ASSERT_TRUE(
      platform::SetAttributes(temp_.Path("Tree\\Sub\\b.txt"), platform::kAttributeReadOnly));
  EXPECT_TRUE(DeleteTree(log_, temp_.Path("tree")));
  EXPECT_FALSE(platform::PathExists(temp_.Path("Tree")));
}

TEST_F(FolderTreeTest, DeleteOfAMissingFolderFails) {
  EXPECT_FALSE(DeleteTree(log_, temp_.Path("Nothing")));
}

}  // namespace
