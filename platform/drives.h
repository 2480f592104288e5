// Logical drives and their types. On POSIX they come from the volume map's description.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// GetDriveTypeA values.
enum class DriveType : unsigned {
  kUnknown = 0,
  kNoRootDirectory = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6
};

// The drives that exist now, one bit each: bit 0 is A, bit 25 is Z (GetLogicalDrives).
std::uint32_t GetLogicalDriveMask();
// The type of the drive of a root such as "D:" or "D:\"; kNoRootDirectory when there is no such
// drive (GetDriveTypeA).
DriveType GetDriveKind(const std::string& root);

}  // namespace platform
