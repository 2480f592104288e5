// The file operations of file_system.h on host paths that are already resolved, so that a walk
// over a tree resolves its root once and reaches every entry by name. Rules and error codes are
// those of the Windows-path functions, which resolve and then call these.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// The attributes of an entry from its lstat: a symbolic link is a reparse point, a folder when
// its target is one, and never read-only through its target's permission bits. kInvalidAttributes
// (last error set) when a link's target cannot be looked at.
std::uint32_t HostAttributes(const std::string& hostPath, const struct stat& linkStatus);

// The entries of a host folder that `pattern` matches, as ListDirectory gives them. `driveRoot`:
// the folder is a drive's root, which holds no "." and "..".
bool HostListFolder(const std::string& hostFolder, const std::string& pattern, bool driveRoot,
                    std::vector<DirectoryEntry>* entries);

bool HostSetAttributes(const std::string& hostPath, std::uint32_t attributes);
bool HostMakeDirectory(const std::string& hostPath);
bool HostRemoveEmptyDirectory(const std::string& hostPath);
bool HostRemoveFile(const std::string& hostPath);
// HostRemoveFile of the entry `name` of the open folder `folder` (AT_FDCWD: `name` is a path);
// `hostPath` is its full path.
bool HostRemoveFileAt(int folder, const std::string& name, const std::string& hostPath);
bool HostCopyFile(const std::string& source, const std::string& target, bool failIfExists);

// The error a missing path gives: file not found when only its last component is missing.
void SetMissingPathError(const std::string& hostPath);
// The error of a query of `hostPath` that failed with `error`: a missing path's, or the disk's.
void SetQueryError(const std::string& hostPath, int error);

}  // namespace platform
