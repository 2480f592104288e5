#include "platform/posix/host_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/fault_injection.h"
#include "platform/posix/power_loss.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

// The change noted before a call stays noted only when the call made it.
bool Done(bool succeeded) {
  if (!succeeded) {
    const int error = errno;
    ForgetLastChange();
    errno = error;
  }
  return succeeded;
}

}  // namespace

bool MeansMissing(int error) {
  return error == ENOENT || error == ENOTDIR;
}

bool StatHost(const std::string& hostPath, struct stat* status) {
  return !InjectFault(FileOperation::kQuery, hostPath) && stat(hostPath.c_str(), status) == 0;
}

bool LinkStatusHost(const std::string& hostPath, struct stat* status) {
  return !InjectFault(FileOperation::kQuery, hostPath) && lstat(hostPath.c_str(), status) == 0;
}

bool StatAtHost(int folder, const std::string& name, struct stat* status, int flags) {
  return !InjectFault(FileOperation::kQuery, name) &&
         fstatat(folder, name.c_str(), status, flags) == 0;
}

bool ReadFolderNames(const std::string& hostFolder, std::vector<std::string>* names,
                     int* descriptor) {
  names->clear();
  DIR* folder =
      InjectFault(FileOperation::kList, hostFolder) ? nullptr : opendir(hostFolder.c_str());
  if (folder == nullptr) return false;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(folder);
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names->push_back(name);
  }
  const int error = errno;
  if (error == 0 && descriptor != nullptr) *descriptor = dup(dirfd(folder));
  closedir(folder);
  errno = error;
  return error == 0 && (descriptor == nullptr || *descriptor >= 0);
}

bool MakeHostFolder(const std::string& hostPath) {
  if (InjectFault(FileOperation::kMake) || mkdir(hostPath.c_str(), 0777) != 0) return false;
  NoteCreated(hostPath);
  return true;
}

bool UnlinkAtHost(int folder, const std::string& name) {
  return !InjectFault(FileOperation::kRemove) && unlinkat(folder, name.c_str(), 0) == 0;
}

bool RemoveHostFolder(const std::string& hostPath) {
  if (InjectFault(FileOperation::kRemove)) return false;
  struct stat status;
  const bool link = lstat(hostPath.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
  // A link to a folder goes as the link.
  return (link ? unlink(hostPath.c_str()) : rmdir(hostPath.c_str())) == 0;
}

bool RenameHost(const std::string& from, const std::string& to) {
  if (InjectFault(FileOperation::kRename)) return false;
  NoteRenaming(from, to);
  return Done(rename(from.c_str(), to.c_str()) == 0);
}

bool SyncDescriptor(int descriptor) {
  if (InjectFault(FileOperation::kFsync) || fsync(descriptor) != 0) return false;
  NoteFileFlushed(descriptor);
  return true;
}

bool SyncHostFolder(const std::string& hostFolder) {
  const int folder = open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  const bool synced = !InjectFault(FileOperation::kFsync, hostFolder) && fsync(folder) == 0;
  const int error = errno;
  if (synced) NoteFolderFlushed(folder);
  close(folder);
  errno = error;
  return synced;
}

}  // namespace platform
