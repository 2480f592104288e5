// Which file a path reaches, for tools that must not write over what they read and that name
// files as the host's own tools do.
#pragma once

#include <string>

namespace platform {

// True when both paths reach one existing file, through a link or another spelling (device and
// inode; volume serial and file index of GetFileInformationByHandle).
bool IsSameFile(const std::string& first, const std::string& second);

// Gives `to` the permission bits of `from`, so that a copy of a program stays runnable. Windows
// runs a file by its name, so there it does nothing.
bool CopyPermissions(const std::string& from, const std::string& to);

// The absolute path of an existing file as the host names it: on POSIX with '/' separators and
// each component's letter case on the disk, on Windows with long names (GetFullPathNameA,
// GetLongPathNameA). In the system code page; "" when the file does not exist.
std::string HostPathOf(const std::string& path);

}  // namespace platform
