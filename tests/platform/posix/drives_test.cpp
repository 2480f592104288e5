#include "platform/drives.h"

#include <gtest/gtest.h>

#include "tests/support/staged_machine.h"

namespace {

TEST(DrivesTest, DriveFoldersAndTheirDescribedTypes) {
  StagedMachine machine;
  machine.AddDrive('D', "removable");
  machine.AddDrive('e');
  machine.AddDrive('F', "Remote");
  machine.AddDrive('z', "cdrom");

  EXPECT_EQ(platform::GetLogicalDriveMask(),
            (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 25));
  EXPECT_EQ(platform::GetDriveKind("C:\\"), platform::DriveType::kFixed);
  EXPECT_EQ(platform::GetDriveKind("d:"), platform::DriveType::kRemovable);
  EXPECT_EQ(platform::GetDriveKind("E:\\"), platform::DriveType::kFixed);
  EXPECT_EQ(platform::GetDriveKind("F:\\"), platform::DriveType::kRemote);
  EXPECT_EQ(platform::GetDriveKind("Z:\\"), platform::DriveType::kCdRom);
  EXPECT_EQ(platform::GetDriveKind("G:\\"), platform::DriveType::kNoRootDirectory);
  EXPECT_EQ(platform::GetDriveKind(""), platform::DriveType::kNoRootDirectory);
}

}  // namespace
