#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/folder_tree.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace {

// A file in use cannot be deleted; the deletion of its folder and every folder above it stops.
TEST(DeleteTreeWin32, FileInUseStopsTheDeletion) {
  TempFolder temp;
  RecordingSink log;
  temp.WriteFile("Tree\\M\\Busy\\in use.dat", "busy");
  temp.WriteFile("Tree\\M\\Busy\\Inner\\x.txt", "x");
  platform::File held;
  ASSERT_TRUE(held.Open(temp.Path("Tree\\M\\Busy\\in use.dat"), platform::File::Mode::kRead));
  EXPECT_FALSE(DeleteTree(log, temp.Path("Tree")));
  EXPECT_TRUE(platform::PathExists(temp.Path("Tree\\M\\Busy\\in use.dat")));
  EXPECT_TRUE(platform::IsDirectory(temp.Path("Tree\\M")));
  held.Close();
  EXPECT_TRUE(DeleteTree(log, temp.Path("Tree")));
}

// The clearing's form goes on past the file in use and names only it.
TEST(DeleteTreeWin32, PastFailuresOnlyTheFileInUseStays) {
  TempFolder temp;
  RecordingSink log;
  temp.WriteFile("Tree\\M\\Busy\\in use.dat", "busy");
  temp.WriteFile("Tree\\M\\Busy\\other.dat", "other");
  temp.WriteFile("Tree\\Z\\x.txt", "x");
  platform::File held;
  ASSERT_TRUE(held.Open(temp.Path("Tree\\M\\Busy\\in use.dat"), platform::File::Mode::kRead));
  std::vector<std::string> notDeleted;
  EXPECT_FALSE(DeleteTreePastFailures(log, temp.Path("Tree"), &notDeleted));
  EXPECT_EQ(notDeleted, std::vector<std::string>{temp.Path("Tree\\M\\Busy\\in use.dat")});
  EXPECT_FALSE(platform::PathExists(temp.Path("Tree\\M\\Busy\\other.dat")));
  EXPECT_FALSE(platform::PathExists(temp.Path("Tree\\Z")));
}

}  // namespace
