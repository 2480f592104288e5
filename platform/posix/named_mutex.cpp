// The named mutex is an advisory lock on <root>/.mutex/<name>: whoever holds the lock "has" the
// mutex, so a stand-in control program in another process makes it exist.
#include "platform/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/fault_injection.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

std::string LockFilePath(const std::string& name) {
  std::string fileName = name;
  for (char& c : fileName) {
    if (c == '/' || c == '\\') c = '_';
  }
  return GetVolumeRoot() + "/.mutex/" + fileName;
}

}  // namespace

MutexHandle CreateNamedMutex(const std::string& name, bool* alreadyExisted) {
  *alreadyExisted = false;
  if (GetVolumeRoot().empty()) {
    SetLastErrorCode(kErrorPathNotFound);
    return MutexHandle{};
  }
  mkdir((GetVolumeRoot() + "/.mutex").c_str(), 0777);
  const std::string path = LockFilePath(name);
  int descriptor = InjectFault(FileOperation::kOpen)
                       ? -1
                       : open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // Another user's lock file opens for reading only, and flock takes such a descriptor too.
  if (descriptor < 0) {
    descriptor = InjectFault(FileOperation::kOpen) ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (descriptor < 0) {
    SetLastErrorFromErrno(errno);
    // A lock file that exists but cannot be opened may well be held: the control program must
    // never be taken for ended when it might run.
    struct stat status;
    *alreadyExisted = stat(path.c_str(), &status) == 0;
    return MutexHandle{};
  }
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) {
      SetLastErrorFromErrno(errno);
      close(descriptor);
      return MutexHandle{};
    }
    // Another holder: the handle stays valid but holds nothing, like a handle to an existing
    // mutex.
    *alreadyExisted = true;
  }
  // Descriptors start at 0; the handle keeps 0 for "invalid".
  return MutexHandle{static_cast<std::intptr_t>(descriptor) + 1};
}

void CloseNamedMutex(MutexHandle* handle) {
  if (handle->IsValid()) close(static_cast<int>(handle->value - 1));
  handle->value = 0;
}

}  // namespace platform
