// The payload file on POSIX: created with O_EXCL and mode 0700 in the volume map, written through
// its descriptor, then reopened read-only on the same inode and started through /dev/fd, so a
// name swapped meanwhile in the folder changes nothing.
#include "platform/payload_file.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/posix/child_output.h"
#include "platform/posix/descriptor_io.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/host_files.h"
#include "platform/posix/last_error.h"
#include "platform/posix/power_loss.h"
#include "platform/posix/volume_map.h"

extern char** environ;

namespace platform {

namespace {

constexpr unsigned kNameNumbers = 0x10000;

void CloseDescriptor(int* descriptor) {
  if (*descriptor >= 0) close(*descriptor);
  *descriptor = -1;
}

}  // namespace

struct PayloadFile::Impl {
  std::string path;
  std::string hostPath;
  int writer = -1;
  // Opened without close-on-exec: a script's interpreter reads the program through it.
  int reader = -1;
};

PayloadFile::PayloadFile() : impl_(std::make_unique<Impl>()) {}

PayloadFile::~PayloadFile() {
  CloseDescriptor(&impl_->writer);
  CloseDescriptor(&impl_->reader);
}

bool PayloadFile::Create(const std::string& folder, const std::string& prefix) {
  const unsigned start = static_cast<unsigned>(std::time(nullptr) ^ getpid());
  for (unsigned attempt = 0; attempt < kNameNumbers; ++attempt) {
    char number[8];
    std::snprintf(number, sizeof number, "%04X", (start + attempt) % kNameNumbers);
    const std::string path = folder + prefix + number + ".tmp";
    std::string host;
    if (!ResolveHostPath(path, &host)) return false;
    const int descriptor =
        InjectFault(FileOperation::kOpen)
            ? -1
            : open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRWXU);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;
      SetLastErrorFromErrno(errno);
      return false;
    }
    NoteCreated(host);
    // The umask must not take away the owner's right to run it.
    fchmod(descriptor, S_IRWXU);
    impl_->path = path;
    impl_->hostPath = host;
    impl_->writer = descriptor;
    return true;
  }
  SetLastErrorCode(kErrorFileExists);
  return false;
}

const std::string& PayloadFile::Path() const {
  return impl_->path;
}

bool PayloadFile::Write(const void* data, std::size_t size) {
  return impl_->writer >= 0 && WriteFully(impl_->writer, data, size);
}

bool PayloadFile::Seal() {
  if (impl_->writer < 0) return false;
  const int reader =
      InjectFault(FileOperation::kOpen) ? -1 : open(impl_->hostPath.c_str(), O_RDONLY | O_NOFOLLOW);
  struct stat written, opened;
  const bool same = reader >= 0 && fstat(impl_->writer, &written) == 0 &&
                    fstat(reader, &opened) == 0 && written.st_dev == opened.st_dev &&
                    written.st_ino == opened.st_ino;
  // A program still open for writing cannot be started (ETXTBSY).
  CloseDescriptor(&impl_->writer);
  if (!same) {
    if (reader >= 0) close(reader);
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  impl_->reader = reader;
  return true;
}

std::size_t PayloadFile::Read(void* buffer, std::size_t size) {
  return impl_->reader >= 0 ? ReadFully(impl_->reader, buffer, size) : 0;
}

bool PayloadFile::Start(ProcessHandles* handles) {
  if (impl_->reader < 0) return false;
  const std::string program = "/dev/fd/" + std::to_string(impl_->reader);
  char* arguments[] = {const_cast<char*>(impl_->hostPath.c_str()), nullptr};
  pid_t child = 0;
  std::intptr_t forwarding = 0;
  const int error = SpawnProgram(&child, &forwarding, program.c_str(), arguments);
  CloseDescriptor(&impl_->reader);
  if (error != 0) {
    SetLastErrorFromErrno(error);
    return false;
  }
  handles->process = child;
  handles->thread = forwarding;
  return true;
}

bool PayloadFile::Discard() {
  CloseDescriptor(&impl_->writer);
  CloseDescriptor(&impl_->reader);
  return impl_->hostPath.empty() || HostRemoveFile(impl_->hostPath);
}

}  // namespace platform
