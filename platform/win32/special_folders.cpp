#include "platform/special_folders.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

namespace platform {
namespace {

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

std::string GetSpecialFolder(SpecialFolder folder, bool create) {
  char buffer[MAX_PATH + 1] = {};
  UINT length = 0;
  switch (folder) {
    case SpecialFolder::kProgramFiles:
    case SpecialFolder::kDesktop:
    case SpecialFolder::kPrograms: {
      const int id = folder == SpecialFolder::kProgramFiles ? CSIDL_PROGRAM_FILES
                     : folder == SpecialFolder::kDesktop    ? CSIDL_DESKTOPDIRECTORY
                                                            : CSIDL_PROGRAMS;
      if (!SHGetSpecialFolderPathA(nullptr, buffer, id, create ? TRUE : FALSE)) return "";
      return buffer;
    }
    case SpecialFolder::kSystem:
      length = GetSystemDirectoryA(buffer, MAX_PATH);
      break;
    case SpecialFolder::kNativeSystem:
      if (!RunsUnderWow64()) return GetSpecialFolder(SpecialFolder::kSystem, create);
      length = GetWindowsDirectoryA(buffer, MAX_PATH);
      return length > 0 && length < MAX_PATH ? std::string(buffer, length) + "\\Sysnative" : "";
    case SpecialFolder::kWindows:
      length = GetWindowsDirectoryA(buffer, MAX_PATH);
      break;
  }
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : "";
}

std::string GetTempFolder() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH + 1, buffer);
  return length > 0 && length <= MAX_PATH ? std::string(buffer, length) : "";
}

}  // namespace platform
