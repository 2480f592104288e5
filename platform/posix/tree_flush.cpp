#include "platform/tree_flush.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/descriptor_io.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/last_error.h"
#include "platform/posix/power_loss.h"
#include "platform/posix/volume_map.h"

namespace platform {

bool FlushTree(const std::string& folder) {
  std::string host;
  if (!ResolveHostPath(folder, &host)) return false;
  const int descriptor = OpenDescriptor(host, O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  const bool flushed = !InjectFault(FileOperation::kFsync) && syncfs(descriptor) == 0;
  if (flushed) NoteVolumeFlushed(descriptor);
  if (!flushed) SetLastErrorFromErrno(errno);
  close(descriptor);
  return flushed;
}

}  // namespace platform
