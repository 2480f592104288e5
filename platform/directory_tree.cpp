#include "platform/file_system.h"
#include "platform/path_split.h"

namespace platform {

bool MakeDirectoryTree(const std::string& path) {
  if (IsDirectory(path)) return true;
  for (std::size_t at = FindNextSeparator(path);; at = FindNextSeparator(path, at + 1)) {
    const std::string prefix = path.substr(0, at);
    // A leading separator stands for the drive's root. A folder the disk cannot look at is not
    // made again: that only hides the fault.
    const PathKind kind = at == 0 ? PathKind::kFolder : QueryPath(prefix);
    if (kind == PathKind::kUnknown || (kind != PathKind::kFolder && !MakeDirectory(prefix))) {
      return false;
    }
    if (at == std::string::npos) return true;
  }
}

}  // namespace platform
