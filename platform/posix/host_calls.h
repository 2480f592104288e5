// The system calls of this layer that touch the disk, each first asking the fault hook and telling
// the power-loss model what it is about to change. They fail as the calls do, with errno set; a
// listing whose reading fails part-way fails as a whole.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace platform {

// errno of a path that is not there (as opposed to one the disk could not look at).
bool MeansMissing(int error);

bool StatHost(const std::string& hostPath, struct stat* status);
bool LinkStatusHost(const std::string& hostPath, struct stat* status);
// fstatat of `name` in the open folder `folder` (AT_FDCWD: `name` is a path).
bool StatAtHost(int folder, const std::string& name, struct stat* status, int flags);

// Every name of the folder but "." and "..", in the order the system gives them. With
// `descriptor`, the folder stays open there for calls relative to it; the caller closes it.
bool ReadFolderNames(const std::string& hostFolder, std::vector<std::string>* names,
                     int* descriptor = nullptr);

bool MakeHostFolder(const std::string& hostPath);
bool UnlinkAtHost(int folder, const std::string& name);
bool RemoveHostFolder(const std::string& hostPath);
bool RenameHost(const std::string& from, const std::string& to);
// fsync of an open file; of a folder by its path.
bool SyncDescriptor(int descriptor);
bool SyncHostFolder(const std::string& hostFolder);

}  // namespace platform
