// The folders the system names: program files, the user's desktop and start-menu programs,
// the temporary directory, the system and Windows folders.
#pragma once

#include <string>

namespace platform {

enum class SpecialFolder { kProgramFiles, kDesktop, kPrograms, kSystem, kWindows };

// The folder's long path without a trailing backslash, created first when `create` is set; the
// empty text on failure (SHGetSpecialFolderPathA).
std::string GetSpecialFolder(SpecialFolder folder, bool create);

// The temporary directory, with its trailing backslash (GetTempPathA).
std::string GetTempFolder();

}  // namespace platform
