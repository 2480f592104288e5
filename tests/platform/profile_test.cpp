#include "platform/profile.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace {

TEST(ProfileTest, ReadsValuesAndIntegersFromAFile) {
  TempFolder folder;
  folder.WriteFile("setup.cfg",
                   "; settings\r\n[SETTINGS]\r\nPATH = Control\\ \r\nBACKUPPATH=\"D:\\Back up\"\r\n"
                   "Count=42abc\r\nEmpty=\r\n");
  const std::string file = folder.Path("setup.cfg");
  EXPECT_EQ(platform::ReadProfileString("settings", "path", "", file), "Control\\");
  EXPECT_EQ(platform::ReadProfileString("SETTINGS", "BackupPath", "", file), "D:\\Back up");
  EXPECT_EQ(platform::ReadProfileString("SETTINGS", "Missing", "dflt", file), "dflt");
  EXPECT_EQ(platform::ReadProfileString("Other", "PATH", "", file), "");
  EXPECT_EQ(platform::ReadProfileString("SETTINGS", "Empty", "dflt", file), "");
  EXPECT_EQ(platform::ReadProfileString("SETTINGS", "BACKUPPATH", "", file, 5), "D:\\B");
  EXPECT_EQ(platform::ReadProfileString("SETTINGS", "PATH", "x", folder.Path("none.cfg")), "x");
  EXPECT_EQ(platform::ReadProfileInt("SETTINGS", "Count", 7, file), 42);
  EXPECT_EQ(platform::ReadProfileInt("SETTINGS", "Empty", 7, file), 7);
  EXPECT_EQ(platform::ReadProfileInt("SETTINGS", "PATH", 7, file), 0);
  EXPECT_EQ(platform::ReadProfileInt("SETTINGS", "None", -3, file), -3);
}

TEST(ProfileTest, WritesCreateFileSectionAndKeyAndReadBack) {
  TempFolder folder;
  const std::string file = folder.Path("lang.ini");
  ASSERT_TRUE(platform::WriteProfileString("Language", "ActiveLang", "rus", file));
  ASSERT_TRUE(platform::WriteProfileString("Language", "Second", "2", file));
  ASSERT_TRUE(platform::WriteProfileString("Other", "Key", "v", file));
  ASSERT_TRUE(platform::WriteProfileString("language", "ACTIVELANG", "chs", file));
  EXPECT_EQ(platform::ReadProfileString("Language", "ActiveLang", "", file), "chs");
  EXPECT_EQ(platform::ReadProfileString("Language", "Second", "", file), "2");
  EXPECT_EQ(platform::ReadProfileString("Other", "Key", "", file), "v");
  EXPECT_FALSE(platform::WriteProfileString("S", "K", "V", folder.Path("missing\\x.ini")));
}

TEST(ProfileTest, WritesLeaveOtherKeysAndSectionsReadable) {
  TempFolder folder;
  folder.WriteFile("f.ini", "; keep me\r\n[A]\r\n  x = 1 ; not a comment\r\n\r\n[B]\r\ny=2\r\n");
  const std::string file = folder.Path("f.ini");
  ASSERT_TRUE(platform::WriteProfileString("B", "y", "3", file));
  ASSERT_TRUE(platform::WriteProfileString("A", "z", "4", file));
  EXPECT_EQ(platform::ReadProfileString("A", "x", "", file), "1 ; not a comment");
  EXPECT_EQ(platform::ReadProfileString("A", "z", "", file), "4");
  EXPECT_EQ(platform::ReadProfileString("B", "y", "", file), "3");
}

}  // namespace
