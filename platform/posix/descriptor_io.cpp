#include "platform/posix/descriptor_io.h"

#include <unistd.h>

#include <cerrno>

#include "platform/posix/fault_injection.h"
#include "platform/posix/last_error.h"

namespace platform {

std::size_t ReadFully(int descriptor, void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const ssize_t got =
        InjectFault(FileOperation::kRead) ? -1 : read(descriptor, bytes + total, count - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      SetLastErrorFromErrno(errno);
      return 0;
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

bool WriteFully(int descriptor, const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t total = 0;
  while (total < count) {
    const ssize_t put =
        InjectFault(FileOperation::kWrite) ? -1 : write(descriptor, bytes + total, count - total);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      SetLastErrorFromErrno(errno);
      return false;
    }
    total += static_cast<std::size_t>(put);
  }
  return true;
}

}  // namespace platform
