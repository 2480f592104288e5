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

// GetLogicalDrives: bit 0 is drive A.
std::uint32_t GetLogicalDriveMask();
// GetDriveTypeA of a root such as "D:" or "D:\".
DriveType GetDriveKind(const std::string& root);

}  // namespace platform
