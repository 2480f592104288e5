#include "platform/posix/last_error.h"

#include <cerrno>

#include "platform/file_system.h"

namespace platform {
namespace {

thread_local std::uint32_t t_lastError = 0;

}  // namespace

void SetLastErrorCode(std::uint32_t code) {
  t_lastError = code;
}

void SetLastErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      t_lastError = kErrorFileNotFound;
      break;
    case ENOTDIR:
      t_lastError = kErrorPathNotFound;
      break;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      t_lastError = kErrorAccessDenied;
      break;
    case EBUSY:
    case ETXTBSY:
      t_lastError = kErrorSharingViolation;
      break;
    case EEXIST:
      t_lastError = kErrorAlreadyExists;
      break;
    case ENOTEMPTY:
      t_lastError = kErrorDirectoryNotEmpty;
      break;
    case ENOSPC:
      t_lastError = kErrorDiskFull;
      break;
    case EIO:
      t_lastError = kErrorIoDevice;
      break;
    case ENAMETOOLONG:
    case EINVAL:
      t_lastError = kErrorInvalidParameter;
      break;
    default:
      t_lastError = kErrorAccessDenied;
      break;
  }
}

std::uint32_t LastErrorCode() {
  return t_lastError;
}

}  // namespace platform
