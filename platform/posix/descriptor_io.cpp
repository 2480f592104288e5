#include "platform/posix/descriptor_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/posix/fault_injection.h"
#include "platform/posix/last_error.h"
#include "platform/posix/power_loss.h"

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
  NoteContentsChanging(descriptor);
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

namespace platform {
namespace {

// One read, retried after signals: the byte count, 0 at the end, -1 with errno set.
ssize_t ReadSome(int descriptor, void* buffer, std::size_t count) {
  for (;;) {
    const ssize_t got = InjectFault(FileOperation::kRead) ? -1 : read(descriptor, buffer, count);
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool CopyByReading(int from, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t got = ReadSome(from, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0) return false;
    if (!WriteFully(to, buffer.data(), static_cast<std::size_t>(got))) {
      if (errno == 0) errno = EIO;
      return false;
    }
  }
}

}  // namespace

int OpenDescriptor(const std::string& hostPath, int flags, mode_t mode) {
  for (;;) {
    const int descriptor =
        InjectFault(FileOperation::kOpen) ? -1 : open(hostPath.c_str(), flags, mode);
    if (descriptor >= 0 || errno != EINTR) return descriptor;
  }
}

bool CopyDescriptor(int from, int to) {
  NoteContentsChanging(to);
  bool copiedAny = false;
  for (;;) {
    const ssize_t copied = InjectFault(FileOperation::kCopy)
                               ? -1
                               : copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (copied == 0) return true;
    if (copied > 0) {
      copiedAny = true;
      continue;
    }
    if (errno == EINTR) continue;
    // File systems and kernels that cannot copy between these two files say so at once.
    const bool unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                             errno == EOPNOTSUPP || errno == EBADF;
    if (copiedAny || !unsupported) return false;
    return CopyByReading(from, to);
  }
}

}  // namespace platform
