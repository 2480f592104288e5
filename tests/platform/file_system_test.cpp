#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/file.h"
#include "platform/tree_flush.h"
#include "tests/support/staged_files.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::string> ListedNames(const std::string& pattern) {
  std::vector<std::string> names = ListStagedNames(pattern);
  std::sort(names.begin(), names.end());
  return names;
}

using Names = std::vector<std::string>;

TEST(ListDirectoryTest, MatchesWildcardsAsWindowsDoes) {
  TempFolder folder;
  for (const char* name : {"a.sys", "B.SYS", "c.sys.bak", "noext", "ab", "x.inf"}) {
    folder.WriteFile(name, "1234");
  }
  platform::MakeDirectory(folder.Path("sub"));

  EXPECT_EQ(ListedNames(folder.Path("*.*")),
            (Names{"B.SYS", "a.sys", "ab", "c.sys.bak", "noext", "sub", "x.inf"}));
  EXPECT_EQ(ListedNames(folder.Path("*.sys")), (Names{"B.SYS", "a.sys"}));
  EXPECT_EQ(ListedNames(folder.Path("?b")), (Names{"ab"}));
  EXPECT_EQ(ListedNames(folder.Path("?")), Names{});
  EXPECT_EQ(ListedNames(folder.Path("NOEXT")), Names{"noext"});

  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(platform::ListDirectory(folder.Path("*"), &entries));
  const auto sub = std::find_if(entries.begin(), entries.end(),
                                [](const auto& entry) { return entry.name == "sub"; });
  ASSERT_NE(sub, entries.end());
  EXPECT_TRUE(sub->IsDirectory());
  const auto file = std::find_if(entries.begin(), entries.end(),
                                 [](const auto& entry) { return entry.name == "x.inf"; });
  ASSERT_NE(file, entries.end());
  EXPECT_FALSE(file->IsDirectory());
  EXPECT_EQ(file->size, 4u);
}

TEST(ListDirectoryTest, StartsOnAnEmptyFolderOnlyWhenTheDotEntriesMatch) {
  TempFolder folder;
  platform::MakeDirectory(folder.Path("empty"));
  std::vector<platform::DirectoryEntry> entries{{"stale", 0, 0}};
  // A deletion walks "folder\*" and must reach the end normally on an empty folder.
  EXPECT_TRUE(platform::ListDirectory(folder.Path("empty\\*"), &entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(platform::ListDirectory(folder.Path("empty\\*.sys"), &entries));
  EXPECT_FALSE(platform::ListDirectory(folder.Path("missing\\*"), &entries));
  EXPECT_TRUE(entries.empty());
}

TEST(FileSystemTest, ReadOnlyFilesRefuseDeletionUntilMadeWritable) {
  TempFolder folder;
  folder.WriteFile("locked.dat", "x");
  const std::string path = folder.Path("locked.dat");
  ASSERT_TRUE(platform::SetAttributes(path, platform::kAttributeReadOnly));
  EXPECT_NE(platform::GetAttributes(path) & platform::kAttributeReadOnly, 0u);

  EXPECT_FALSE(platform::RemoveFile(path));
  EXPECT_EQ(platform::LastErrorCode(), 5u);
  EXPECT_TRUE(platform::PathExists(path));

  ASSERT_TRUE(platform::SetAttributes(path, platform::kAttributeNormal));
  EXPECT_TRUE(platform::RemoveFile(path));
  EXPECT_FALSE(platform::PathExists(path));
  EXPECT_FALSE(platform::RemoveFile(path));
  EXPECT_EQ(platform::LastErrorCode(), 2u);
}

TEST(FileSystemTest, HiddenFoldersKeepTheirAttribute) {
  TempFolder folder;
  const std::string path = folder.Path("Pelmo");
  ASSERT_TRUE(platform::MakeDirectory(path));
  ASSERT_TRUE(platform::SetAttributes(path + "\\", platform::kAttributeHidden));
  const std::uint32_t attributes = platform::GetAttributes(path);
  EXPECT_NE(attributes & platform::kAttributeHidden, 0u);
  EXPECT_NE(attributes & platform::kAttributeDirectory, 0u);
  EXPECT_EQ(platform::GetAttributes(folder.Path("none")), platform::kInvalidAttributes);
}

TEST(FileSystemTest, FoldersAreMadeAndRemovedOneLevelAtATime) {
  TempFolder folder;
  EXPECT_FALSE(platform::MakeDirectory(folder.Path("a\\b")));
  EXPECT_EQ(platform::LastErrorCode(), 3u);
  EXPECT_TRUE(platform::MakeDirectory(folder.Path("a")));
  EXPECT_FALSE(platform::MakeDirectory(folder.Path("A")));
  EXPECT_EQ(platform::LastErrorCode(), 183u);
  EXPECT_TRUE(platform::MakeDirectory(folder.Path("a\\b")));
  EXPECT_TRUE(platform::IsDirectory(folder.Path("A\\B\\")));

  EXPECT_FALSE(platform::RemoveEmptyDirectory(folder.Path("a")));
  EXPECT_EQ(platform::LastErrorCode(), 145u);
  EXPECT_TRUE(platform::RemoveEmptyDirectory(folder.Path("a\\b")));
  EXPECT_TRUE(platform::RemoveEmptyDirectory(folder.Path("a")));
  EXPECT_FALSE(platform::IsDirectory(folder.Path("a")));
}

TEST(FileSystemTest, FileTestsTellFilesFromFolders) {
  TempFolder folder;
  folder.WriteFile("f.txt", "");
  EXPECT_TRUE(platform::PathExists(folder.Path("F.TXT")));
  EXPECT_FALSE(platform::IsDirectory(folder.Path("f.txt")));
  EXPECT_FALSE(platform::IsDirectory(folder.Path("f.txt\\")));
  EXPECT_TRUE(platform::IsDirectory(folder.path()));
  EXPECT_FALSE(platform::PathExists(folder.Path("g.txt")));
}

TEST(FileSystemTest, CopyAndReplaceKeepContentsWhole) {
  TempFolder folder;
  folder.WriteFile("new.dat", "new contents");
  folder.WriteFile("old.dat", "old");
  EXPECT_FALSE(platform::CopyOneFile(folder.Path("new.dat"), folder.Path("old.dat"), true));
  EXPECT_EQ(platform::LastErrorCode(), 80u);
  EXPECT_EQ(folder.ReadFile("old.dat"), "old");
  EXPECT_TRUE(platform::CopyOneFile(folder.Path("new.dat"), folder.Path("copy.dat"), true));
  EXPECT_EQ(folder.ReadFile("copy.dat"), "new contents");
  EXPECT_FALSE(platform::CopyOneFile(folder.Path("none.dat"), folder.Path("x.dat"), false));
  // A file copied onto itself must survive.
  EXPECT_FALSE(platform::CopyOneFile(folder.Path("copy.dat"), folder.Path("COPY.DAT"), false));
  EXPECT_EQ(folder.ReadFile("copy.dat"), "new contents");

  EXPECT_TRUE(platform::ReplaceFileAtomically(folder.Path("new.dat"), folder.Path("old.dat")));
  EXPECT_EQ(folder.ReadFile("old.dat"), "new contents");
  EXPECT_FALSE(platform::PathExists(folder.Path("new.dat")));
}

// The calls that put their change on the disk answer as the plain ones do, and a name that is
// not there is told from a disk that fails.
TEST(FileSystemTest, DurableCallsSucceedOrSayWhatIsMissing) {
  TempFolder folder;
  EXPECT_FALSE(platform::MakeDirectoryDurably(folder.Path("none\\made")));
  EXPECT_TRUE(platform::LastErrorMeansMissing());
  ASSERT_TRUE(platform::MakeDirectoryDurably(folder.Path("made\\")));
  EXPECT_TRUE(platform::IsDirectory(folder.Path("made")));
  EXPECT_FALSE(platform::MakeDirectoryDurably(folder.Path("MADE")));
  EXPECT_EQ(platform::LastErrorCode(), platform::kErrorAlreadyExists);
  EXPECT_FALSE(platform::LastErrorMeansMissing());

  for (const char* present : {"made", "made\\"}) {
    EXPECT_TRUE(platform::FlushFolder(folder.Path(present))) << present;
    EXPECT_TRUE(platform::FlushTree(folder.Path(present))) << present;
  }
  EXPECT_FALSE(platform::FlushFolder(folder.Path("none")));
  EXPECT_TRUE(platform::LastErrorMeansMissing());
  EXPECT_FALSE(platform::FlushTree(folder.Path("none")));
  EXPECT_TRUE(platform::LastErrorMeansMissing());

  folder.WriteFile("made\\a.dat", "a");
  folder.WriteFile("b.dat", "b");
  EXPECT_TRUE(platform::MoveToNewName(folder.Path("made"), folder.Path("moved")));
  EXPECT_EQ(folder.ReadFile("moved\\a.dat"), "a");
  EXPECT_FALSE(platform::MoveToNewName(folder.Path("b.dat"), folder.Path("moved\\A.DAT")));
  EXPECT_EQ(platform::LastErrorCode(), platform::kErrorAlreadyExists);
  EXPECT_EQ(folder.ReadFile("moved\\a.dat"), "a");
  EXPECT_FALSE(platform::MoveToNewName(folder.Path("made"), folder.Path("again")));
  EXPECT_TRUE(platform::LastErrorMeansMissing());

  EXPECT_TRUE(platform::ReplaceFileAtomically(folder.Path("b.dat"), folder.Path("moved\\c.dat")));
  EXPECT_EQ(folder.ReadFile("moved\\c.dat"), "b");
  EXPECT_FALSE(platform::ReplaceFileAtomically(folder.Path("b.dat"), folder.Path("moved\\c.dat")));
  EXPECT_TRUE(platform::LastErrorMeansMissing());
  EXPECT_EQ(folder.ReadFile("moved\\c.dat"), "b");
}

TEST(FileTest, ModesCreateTruncateAndRefuseAsDeclared) {
  TempFolder folder;
  const std::string path = folder.Path("data.bin");
  platform::File file;
  EXPECT_FALSE(file.Open(path, platform::File::Mode::kRead));
  ASSERT_TRUE(file.Open(path, platform::File::Mode::kCreateExclusive));
  ASSERT_TRUE(file.Write("0123456789", 10));
  file.Close();
  EXPECT_FALSE(file.Open(path, platform::File::Mode::kCreateExclusive));

  ASSERT_TRUE(file.Open(path, platform::File::Mode::kReadWrite));
  EXPECT_EQ(file.Length(), 10u);
  ASSERT_TRUE(file.Seek(8));
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "89");
  ASSERT_TRUE(file.SeekToEnd());
  ASSERT_TRUE(file.Write("AB", 2));
  EXPECT_EQ(file.Length(), 12u);
  file.Close();

  ASSERT_TRUE(file.Open(path, platform::File::Mode::kCreate));
  EXPECT_EQ(file.Length(), 0u);
  file.Close();
  EXPECT_FALSE(file.Open(folder.path(), platform::File::Mode::kRead));
}

// After a first read, the rest of a good file is read whole and reported good.
TEST(FileTest, ReadToEndTakesTheRestAfterAFirstRead) {
  TempFolder folder;
  folder.WriteFile("data.bin", "header:rest of the file");
  platform::File file;
  ASSERT_TRUE(file.Open(folder.Path("data.bin"), platform::File::Mode::kRead));
  char header[7];
  ASSERT_EQ(file.Read(header, sizeof header), sizeof header);
  EXPECT_EQ(file.Position(), sizeof header);
  std::string rest = "kept ";
  EXPECT_TRUE(platform::ReadToEnd(file, &rest));
  EXPECT_EQ(rest, "kept rest of the file");
}

}  // namespace
