// What the POSIX layer enforces itself because the host would allow it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/shell_copy.h"
#include "tests/support/staged_machine.h"

namespace {

TEST(HostFileRulesTest, ReadOnlyFilesRefuseWritingEvenToAPrivilegedProcess) {
  StagedMachine machine;
  machine.WriteFile("C:\\locked.dat", "keep");
  machine.WriteFile("C:\\other.dat", "other");
  ASSERT_TRUE(platform::SetAttributes("C:\\locked.dat", platform::kAttributeReadOnly));

  EXPECT_FALSE(platform::CopyOneFile("C:\\other.dat", "C:\\locked.dat", false));
  EXPECT_EQ(platform::LastErrorCode(), 5u);
  EXPECT_FALSE(platform::ReplaceFileAtomically("C:\\other.dat", "C:\\locked.dat"));
  platform::File file;
  EXPECT_FALSE(file.Open("C:\\locked.dat", platform::File::Mode::kReadWrite));
  EXPECT_FALSE(file.Open("C:\\locked.dat", platform::File::Mode::kCreate));
  EXPECT_TRUE(file.Open("C:\\locked.dat", platform::File::Mode::kRead));
  EXPECT_EQ(machine.ReadFile("C:\\locked.dat"), "keep");
}

TEST(HostFileRulesTest, RecordedAttributesGoWithTheFile) {
  StagedMachine machine;
  machine.WriteFile("C:\\a\\h.txt", "x");
  ASSERT_TRUE(platform::SetAttributes("C:\\A\\H.TXT", platform::kAttributeHidden));
  ASSERT_TRUE(platform::CopyOneFile("C:\\a\\h.txt", "C:\\a\\copy.txt", true));
  EXPECT_EQ(platform::GetAttributes("C:\\a\\copy.txt"), platform::kAttributeHidden);

  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(platform::ListDirectory("C:\\a\\h.*", &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].attributes, platform::kAttributeHidden);

  // A new file of the same name starts without the old one's attributes.
  ASSERT_TRUE(platform::RemoveFile("C:\\a\\h.txt"));
  machine.WriteFile("C:\\a\\h.txt", "y");
  EXPECT_EQ(platform::GetAttributes("C:\\a\\h.txt"), platform::kAttributeNormal);
}

TEST(HostFileRulesTest, ListingsFindShortAliasesAndSkipTheRootsOwnFiles) {
  StagedMachine machine;
  machine.MakeFolder("C:\\Program Files\\Pelmo");
  machine.AddDrive('D', "removable");
  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(platform::ListDirectory("C:\\PROGRA~1", &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Program Files");
  EXPECT_TRUE(platform::IsDirectory("c:\\progra~1\\PELMO"));
  // A drive root lists its own contents, never the volume root's.
  ASSERT_TRUE(platform::ListDirectory("C:\\*", &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_FALSE(platform::ListDirectory("D:\\*", &entries));
}

TEST(HostFileRulesTest, ShellCopyIntoItsOwnSourceEnds) {
  StagedMachine machine;
  machine.WriteFile("C:\\A\\f.txt", "f");
  machine.WriteFile("C:\\A\\Sub\\g.txt", "g");
  EXPECT_TRUE(platform::ShellCopy("C:\\A\\*.*", "C:\\A\\Backup"));
  EXPECT_EQ(machine.ReadFile("C:\\A\\Backup\\f.txt"), "f");
  EXPECT_EQ(machine.ReadFile("C:\\A\\Backup\\Sub\\g.txt"), "g");
  EXPECT_FALSE(machine.Exists("C:\\A\\Backup\\Backup"));
}

// The copy of a walk finds existing names in the destination as Windows does.
TEST(HostFileRulesTest, ShellCopyReplacesNamesThatDifferOnlyInCase) {
  StagedMachine machine;
  machine.WriteFile("C:\\Src\\Sub\\Data.ini", "new");
  machine.WriteFile("C:\\Src\\a.txt", "new a");
  machine.WriteFile("C:\\Dst\\SUB\\DATA.INI", "old");
  machine.WriteFile("C:\\Dst\\A.TXT", "old a");
  EXPECT_TRUE(platform::ShellCopy("C:\\Src\\*.*", "C:\\Dst"));
  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(platform::ListDirectory("C:\\Dst\\*", &entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "A.TXT");
  EXPECT_EQ(entries[1].name, "SUB");
  EXPECT_EQ(machine.ReadFile("C:\\Dst\\A.TXT"), "new a");
  EXPECT_EQ(machine.ReadFile("C:\\Dst\\SUB\\DATA.INI"), "new");
}

// As CopyFileA: the bytes, the time stamp and the permission bits, for a file larger than one
// kernel copy or read step.
TEST(HostFileRulesTest, CopiesKeepBytesTimeAndPermissionBits) {
  StagedMachine machine;
  std::string bytes(3 << 20, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 251);
  machine.WriteFile("C:\\Src\\big.bin", bytes);
  const std::string source = machine.HostPath("C:\\Src\\big.bin");
  ASSERT_EQ(chmod(source.c_str(), 0750), 0);
  const struct timespec times[2] = {{1000000000, 0}, {1000000123, 456}};
  ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

  ASSERT_TRUE(platform::ShellCopy("C:\\Src\\*.*", "C:\\Dst"));
  EXPECT_TRUE(machine.ReadFile("C:\\Dst\\big.bin") == bytes);
  struct stat status;
  ASSERT_EQ(stat(machine.HostPath("C:\\Dst\\big.bin").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0750u);
  EXPECT_EQ(status.st_mtim.tv_sec, 1000000123);
  EXPECT_EQ(status.st_mtim.tv_nsec, 456);
}

}  // namespace
