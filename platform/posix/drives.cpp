// Drives are the letter folders of the root; their types come from <root>/drives.ini, section
// [Drives], one key per letter (fixed, removable, remote, cdrom, ramdisk). A drive folder
// without an entry is a fixed disk.
#include "platform/drives.h"

#include <sys/stat.h>

#include <string>

#include "platform/ascii_characters.h"
#include "platform/posix/volume_map.h"
#include "platform/profile.h"

namespace platform {
namespace {

bool DriveFolderExists(char letter) {
  if (GetVolumeRoot().empty()) return false;
  struct stat status;
  for (const char name : {ToAsciiLower(letter), ToAsciiUpper(letter)}) {
    const std::string path = GetVolumeRoot() + "/" + name;
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return true;
  }
  return false;
}

}  // namespace

std::uint32_t GetLogicalDriveMask() {
  std::uint32_t mask = 0;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    if (DriveFolderExists(letter)) mask |= 1u << (letter - 'a');
  }
  return mask;
}

DriveType GetDriveKind(const std::string& root) {
  if (root.empty() || !IsAsciiLetter(root[0]) || (root.size() > 1 && root[1] != ':') ||
      !DriveFolderExists(root[0])) {
    return DriveType::kNoRootDirectory;
  }
  const std::string letter(1, ToAsciiUpper(root[0]));
  const std::string kind =
      ReadProfileString("Drives", letter, "fixed", GetVolumeRoot() + "/drives.ini");
  struct Name {
    const char* text;
    DriveType type;
  };
  static const Name kNames[] = {{"fixed", DriveType::kFixed},
                                {"removable", DriveType::kRemovable},
                                {"remote", DriveType::kRemote},
                                {"cdrom", DriveType::kCdRom},
                                {"ramdisk", DriveType::kRamDisk}};
  const std::string lowerKind = AsciiLowerCase(kind);
  for (const Name& name : kNames) {
    if (lowerKind == name.text) return name.type;
  }
  return DriveType::kUnknown;
}

}  // namespace platform
