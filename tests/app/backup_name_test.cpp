#include <gtest/gtest.h>

#include "app/backup.h"

TEST(BackupNameTest, NamesTheFolderAfterTheLocalTime) {
  platform::LocalTime time;
  time.year = 2024;
  time.month = 6;
  time.day = 3;
  time.hour = 14;
  time.minute = 5;
  time.second = 9;
  EXPECT_EQ(FormatBackupFolderName(time), "Pelmo 2024-06-03 140509\\");
  time.month = 12;
  time.day = 31;
  time.hour = 0;
  time.minute = 0;
  time.second = 0;
  EXPECT_EQ(FormatBackupFolderName(time), "Pelmo 2024-12-31 000000\\");
}
