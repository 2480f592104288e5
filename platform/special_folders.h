// The folders the system names: program files, the user's desktop and start-menu programs,
// the temporary directory, the system and Windows folders.
#pragma once

#include <string>

namespace platform {

enum class SpecialFolder { kProgramFiles, kDesktop, kPrograms, kSystem, kWindows };

// SHGetSpecialFolderPathA (creating the folder when `create` is set): the long path without a
// trailing backslash, or the empty text on failure.
std::string GetSpecialFolder(SpecialFolder folder, bool create);

// GetTempPathA: the temporary directory with its trailing backslash.
std::string GetTempFolder();

}  // namespace platform
