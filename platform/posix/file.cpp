// Files by Windows path through the volume map. Sharing modes have no host counterpart and are
// not enforced; read-only files refuse writing as on Windows.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/posix/descriptor_io.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/host_calls.h"
#include "platform/posix/last_error.h"
#include "platform/posix/power_loss.h"
#include "platform/posix/volume_map.h"

namespace platform {

struct File::Impl {
  int descriptor = -1;
};

File::File() : impl_(std::make_unique<Impl>()) {}

File::~File() {
  Close();
}

bool File::Open(const std::string& path, Mode mode) {
  std::string host;
  return ResolveHostPath(path, &host) && OpenResolved(host, mode);
}

bool File::OpenResolved(const std::string& host, Mode mode) {
  Close();
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::kRead:
    case Mode::kReadShared:
      flags |= O_RDONLY;
      break;
    case Mode::kReadWrite:
      flags |= O_RDWR | O_CREAT;
      break;
    case Mode::kCreate:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
    case Mode::kCreateExclusive:
      flags |= O_RDWR | O_CREAT | O_EXCL;
      break;
  }
  struct stat status;
  const bool exists = StatHost(host, &status);
  if (!exists && !MeansMissing(errno)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (exists && S_ISDIR(status.st_mode)) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  const bool writing = (flags & O_ACCMODE) != O_RDONLY;
  if (writing && exists && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (exists && (flags & O_TRUNC) != 0) NoteTruncating(host);
  const int descriptor =
      InjectFault(FileOperation::kOpen, host) ? -1 : open(host.c_str(), flags, 0666);
  if (descriptor < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (!exists && (flags & O_CREAT) != 0) {
    NoteEntryAdded(host);
    NoteCreated(host);
  }
  impl_->descriptor = descriptor;
  return true;
}

void File::Close() {
  if (impl_->descriptor >= 0) close(impl_->descriptor);
  impl_->descriptor = -1;
}

bool File::IsOpen() const {
  return impl_->descriptor >= 0;
}

std::size_t File::Read(void* buffer, std::size_t count) {
  return IsOpen() ? ReadFully(impl_->descriptor, buffer, count) : 0;
}

bool File::Flush() {
  if (!IsOpen()) return false;
  if (!SyncDescriptor(impl_->descriptor)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  return true;
}

bool File::Write(const void* buffer, std::size_t count) {
  return IsOpen() && WriteFully(impl_->descriptor, buffer, count);
}

bool File::Seek(std::uint64_t offset) {
  if (!IsOpen() || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  return lseek(impl_->descriptor, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool File::SeekToEnd() {
  return IsOpen() && lseek(impl_->descriptor, 0, SEEK_END) >= 0;
}

std::uint64_t File::Length() const {
  struct stat status;
  if (!IsOpen() || fstat(impl_->descriptor, &status) != 0) return UINT64_MAX;
  return static_cast<std::uint64_t>(status.st_size);
}

bool File::CopyTimeStampsFrom(const File& source) {
  struct stat status;
  if (!IsOpen() || !source.IsOpen() || fstat(source.impl_->descriptor, &status) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  const struct timespec times[2] = {status.st_atim, status.st_mtim};
  if (futimens(impl_->descriptor, times) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  return true;
}

std::uint64_t File::Position() const {
  const off_t position = IsOpen() ? lseek(impl_->descriptor, 0, SEEK_CUR) : -1;
  return position < 0 ? UINT64_MAX : static_cast<std::uint64_t>(position);
}

}  // namespace platform
