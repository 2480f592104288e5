// Paths in GBK, the code page of the Windows machines: a trail byte may be 0x5C, which is '\'.
#include "platform/path_split.h"

#include <gtest/gtest.h>

#include <string>

#include "base/multibyte_case.h"

namespace {

constexpr std::size_t kNone = std::string::npos;

TEST(PathSplit, ADoubleByteNameEndingIn0x5CStaysWhole) {
  struct Row {
    const char* path;
    std::size_t end;
    std::size_t lastSeparator;
  };
  const Row rows[] = {
      {"C:\\cfg\\\xD7\\\\x", kNone, 9}, {"C:\\cfg\\\xD7\\", kNone, 6}, {"C:\\a\\b", 3, 2},
      {"C:/a\\b/c", kNone, 6},          {"name", kNone, kNone},        {"\xD7\\", kNone, kNone},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(platform::FindLastSeparator(row.path, row.end, IsGbkLeadByte), row.lastSeparator)
        << row.path;
  }
  EXPECT_EQ(platform::FindNextSeparator("D:\\\xD7\\\\x", 3, IsGbkLeadByte), 5u);
  EXPECT_EQ(platform::FindNextSeparator("\xD7\\", 0, IsGbkLeadByte), kNone);
}

TEST(PathSplit, ATrailByte0x5CIsNoTrailingSeparator) {
  struct Row {
    const char* path;
    std::size_t keep;
    bool endsWithSeparator;
    const char* trimmed;
  };
  const Row rows[] = {
      {"D:\\Backup\\\xD7\\", 0, false, "D:\\Backup\\\xD7\\"},
      {"D:\\Backup\\\xD7\\\\/", 0, true, "D:\\Backup\\\xD7\\"},
      {"D:\\Backup\\", 0, true, "D:\\Backup"},
      {"C:\\", 3, true, "C:\\"},
      {"C:\\\\", 3, true, "C:\\"},
      {"\\", 1, true, "\\"},
      {"name", 0, false, "name"},
      {"", 0, false, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(platform::EndsWithSeparator(row.path, IsGbkLeadByte), row.endsWithSeparator)
        << row.path;
    EXPECT_EQ(platform::WithoutTrailingSeparators(row.path, row.keep, IsGbkLeadByte), row.trimmed)
        << row.path;
  }
}

TEST(PathSplit, FileNameIsWhatFollowsTheLastSeparatorOrTheDrive) {
  struct Row {
    const char* path;
    const char* name;
  };
  const Row rows[] = {
      {"D:\\Media\\\xD7\\Setup.exe", "\xD7\\Setup.exe"},
      {"D:\\Backup\\\xD7\\", "\xD7\\"},
      {"C:\\Program Files\\Pelmo\\vexorand.fmt", "vexorand.fmt"},
      {"formats/lathe.fmt", "lathe.fmt"},
      {"C:lathe.fmt", "lathe.fmt"},
      {"lathe.fmt", "lathe.fmt"},
      {"C:\\Temp\\", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(platform::FileNameOf(row.path, IsGbkLeadByte), row.name) << row.path;
  }
}

}  // namespace
