// The volume map of the POSIX edition: a root folder with one folder per drive letter
// (X:\a\b is <root>/x/a/b), names resolved without regard to letter case.
#pragma once

#include <string>

namespace platform {

// The environment variable that names the root when SetVolumeRoot was not called.
constexpr const char* kVolumeRootVariable = "SETUP_ROOT";

void SetVolumeRoot(const std::string& root);
const std::string& GetVolumeRoot();

// The host path of a Windows path: drive letter to root folder, each existing component matched
// case-insensitively (short 8.3 aliases included), missing ones kept as written. A path without
// a drive is taken relative to the current directory.
std::string ToHostPath(const std::string& windowsPath);

}  // namespace platform
