#include "platform/file_identity.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat one, other;
  return stat(ToHostPath(first).c_str(), &one) == 0 &&
         stat(ToHostPath(second).c_str(), &other) == 0 && one.st_dev == other.st_dev &&
         one.st_ino == other.st_ino;
}

bool CopyPermissions(const std::string& from, const std::string& to) {
  struct stat status;
  if (stat(ToHostPath(from).c_str(), &status) != 0 ||
      chmod(ToHostPath(to).c_str(), status.st_mode & 07777) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  return true;
}

std::string HostPathOf(const std::string& path) {
  char real[PATH_MAX];
  if (realpath(ToHostPath(path).c_str(), real) == nullptr) {
    SetLastErrorFromErrno(errno);
    return "";
  }
  return real;
}

}  // namespace platform
