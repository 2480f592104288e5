#include "platform/drives.h"

#include <windows.h>

namespace platform {

std::uint32_t GetLogicalDriveMask() {
  return GetLogicalDrives();
}

DriveType GetDriveKind(const std::string& root) {
  // The system wants the root with its backslash.
  std::string path = root;
  if (path.size() == 2 && path[1] == ':') path += '\\';
  return static_cast<DriveType>(GetDriveTypeA(path.c_str()));
}

}  // namespace platform
