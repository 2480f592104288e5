// The POSIX profile reader keeps each file's parse; what it reads must still be the file as it is.
#include <gtest/gtest.h>
#include <stdio.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/posix/fault_injection.h"
#include "platform/profile.h"
#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"

namespace {

TEST(ProfileCacheTest, ReadsTheFileAsItIsAfterEveryKindOfChange) {
  StagedMachine machine;
  const std::string file = "C:\\data\\a.ini";
  machine.WriteFile(file, "[S]\r\nk=1\r\n");
  EXPECT_EQ(platform::ReadProfileString("S", "k", "", file), "1");
  // Rewritten in place at once: same size, and likely the same file times.
  machine.WriteFile(file, "[S]\r\nk=2\r\n");
  EXPECT_EQ(platform::ReadProfileString("S", "k", "", file), "2");
  ASSERT_TRUE(platform::WriteProfileString("S", "k", "3", file));
  EXPECT_EQ(platform::ReadProfileInt("S", "k", 0, file), 3);
  // Replaced by another file.
  machine.WriteFile("C:\\data\\b.ini", "[S]\r\nk=4\r\n");
  ASSERT_EQ(rename(machine.HostPath("C:\\data\\b.ini").c_str(), machine.HostPath(file).c_str()), 0);
  EXPECT_EQ(platform::ReadProfileString("S", "k", "", file), "4");
  ASSERT_EQ(remove(machine.HostPath(file).c_str()), 0);
  EXPECT_EQ(platform::ReadProfileString("S", "k", "gone", file), "gone");
}

TEST(ProfileCacheTest, ANameWithoutAFolderIsTheWindowsFoldersFile) {
  StagedMachine machine;
  machine.WriteFile("C:\\Windows\\win.ini", "[Desktop]\r\nWallpaper=blue\r\n");
  EXPECT_EQ(platform::ReadProfileString("Desktop", "Wallpaper", "", "win.ini"), "blue");
  ASSERT_TRUE(platform::WriteProfileString("Desktop", "Tile", "1", "WIN.INI"));
  EXPECT_EQ(machine.ReadFile("C:\\Windows\\win.ini"), "[Desktop]\r\nWallpaper=blue\r\nTile=1\r\n");
}

// The POSIX code page is UTF-8: a UTF-16 file's characters arrive and are written as UTF-8.
TEST(ProfileCacheTest, Utf16FilesSpeakTheUtf8CodePage) {
  StagedMachine machine;
  const std::string file = "C:\\data\\lang.ini";
  machine.WriteFile(file,
                    Utf16File(u"[\u8BED\u8A00]\r\nname=\u4E2D\u6587 caf\u00E9 \U0001F600\r\n"));
  EXPECT_EQ(platform::ReadProfileString("\xE8\xAF\xAD\xE8\xA8\x80", "name", "", file),
            "\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9 \xF0\x9F\x98\x80");
  ASSERT_TRUE(platform::WriteProfileString("\xE8\xAF\xAD\xE8\xA8\x80", "next", "\xD0\xAF", file));
  EXPECT_EQ(
      machine.ReadFile(file),
      Utf16File(u"[\u8BED\u8A00]\r\nname=\u4E2D\u6587 caf\u00E9 \U0001F600\r\nnext=\u042F\r\n"));
}

// The writer that replaces the file at once follows the rules of the one that writes in place.
TEST(ProfileCacheTest, BothWritersTakeBareNamesAndUtf8Alike) {
  using Writer =
      bool (*)(const std::string&, const std::string&, const std::string&, const std::string&);
  for (const Writer write :
       {&platform::WriteProfileString, &platform::WriteProfileStringAtomically}) {
    StagedMachine machine;
    machine.WriteFile("C:\\Windows\\win.ini", "[Desktop]\r\n");
    ASSERT_TRUE(write("Desktop", "Tile", "1", "WIN.INI"));
    EXPECT_EQ(machine.ReadFile("C:\\Windows\\win.ini"), "[Desktop]\r\nTile=1\r\n");
    const std::string file = "C:\\data\\separation.ini";
    machine.WriteFile(file, Utf16File(u"[ActiveConfig]\r\n"));
    const std::string folder = "D:\\\xE6\x95\xB0\xE6\x8D\xAE";
    ASSERT_TRUE(write("ActiveConfig", "ActiveGeneratePath", folder, file));
    EXPECT_EQ(platform::ReadProfileString("ActiveConfig", "ActiveGeneratePath", "", file), folder);
    EXPECT_EQ(machine.ReadFile(file),
              Utf16File(u"[ActiveConfig]\r\nActiveGeneratePath=D:\\\u6570\u636E\r\n"));
  }
}

#ifdef SETUP_FAULT_INJECTION
// A read that fails is not a file without keys: it is reported and not kept. A read that only
// confirms a kept parse, which the clock decides, is not counted by the fault plan.
TEST(ProfileCacheTest, AFailingReadIsReportedAndNotKept) {
  StagedMachine machine;
  const std::string file = "C:\\data\\a.ini";
  machine.WriteFile(file, "[S]\r\nk=1\r\n");
  std::filesystem::last_write_time(
      machine.HostPath(file),
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  platform::ArmFault(1, EIO, platform::FileOperation::kRead);
  EXPECT_FALSE(platform::IsProfileReadable(file));
  platform::ArmFault(1, EIO, platform::FileOperation::kRead);
  EXPECT_EQ(platform::ReadProfileString("S", "k", "none", file), "none");
  platform::DisarmFaults();
  EXPECT_EQ(platform::ReadProfileString("S", "k", "", file), "1");
  EXPECT_TRUE(platform::IsProfileReadable(file));

  machine.WriteFile(file, "[S]\r\nk=2\r\n");
  EXPECT_EQ(platform::ReadProfileString("S", "k", "", file), "2");
  platform::ArmFault(0, EIO, platform::FileOperation::kRead);
  const unsigned long counted = platform::CountedFileOperations();
  EXPECT_EQ(platform::ReadProfileString("S", "k", "", file), "2");
  EXPECT_EQ(platform::CountedFileOperations(), counted);
}
#endif

}  // namespace
