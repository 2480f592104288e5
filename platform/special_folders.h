// The folders the system names: program files, the user's desktop and start-menu programs,
// the temporary directory, the system and Windows folders.
#pragma once

#include <string>

namespace platform {

// kNativeSystem is the system folder the kernel loads drivers from. A 32-bit program on 64-bit
// Windows (WoW64) sees System32 redirected to SysWOW64, so there it is the Windows folder's
// Sysnative, which is not redirected; everywhere else it is kSystem.
enum class SpecialFolder { kProgramFiles, kDesktop, kPrograms, kSystem, kNativeSystem, kWindows };

// The folder's long path without a trailing backslash, created first when `create` is set; the
// empty text on failure (SHGetSpecialFolderPathA).
std::string GetSpecialFolder(SpecialFolder folder, bool create);

// The temporary directory, with its trailing backslash (GetTempPathA).
std::string GetTempFolder();

}  // namespace platform
