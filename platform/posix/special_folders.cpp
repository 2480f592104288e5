// The special folders are fixed places on drive C of the volume map.
#include "platform/special_folders.h"

#include "platform/file_system.h"

namespace platform {
namespace {

const char* FixedPath(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::kProgramFiles:
      return "C:\\Program Files";
    case SpecialFolder::kDesktop:
      return "C:\\Users\\Operator\\Desktop";
    case SpecialFolder::kPrograms:
      return "C:\\Users\\Operator\\Start Menu\\Programs";
    case SpecialFolder::kSystem:
    case SpecialFolder::kNativeSystem:
      return "C:\\Windows\\System32";
    case SpecialFolder::kWindows:
      return "C:\\Windows";
  }
  return "";
}

}  // namespace

std::string GetSpecialFolder(SpecialFolder folder, bool create) {
  const std::string path = FixedPath(folder);
  if (!IsDirectory(path) && (!create || !MakeDirectoryTree(path))) return "";
  return GetLongPathForm(path);
}

std::string GetTempFolder() {
  const std::string path = "C:\\Temp\\";
  MakeDirectoryTree("C:\\Temp");
  return path;
}

}  // namespace platform
