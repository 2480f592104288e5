// The shell's silent recursive copy, done file by file: what the pattern names goes into the
// destination, folders with all they hold, missing folders created and existing files replaced.
// Source and destination are resolved once; below them every entry is reached by its host path,
// and a name is looked up in the destination without regard to letter case, as Windows does.
#include "platform/shell_copy.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/posix/host_calls.h"
#include "platform/posix/host_files.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

constexpr std::uint32_t kCopiedFolderBits = kAttributeReadOnly | kAttributeHidden | 0x04;

// 1 for a folder, 0 for anything else or nothing, -1 when the disk could not tell (last error
// set).
int IsHostFolder(const std::string& hostPath) {
  struct stat status;
  if (StatHost(hostPath, &status)) return S_ISDIR(status.st_mode) ? 1 : 0;
  if (MeansMissing(errno)) return 0;
  SetLastErrorFromErrno(errno);
  return -1;
}

// A link whose target is gone: the listing names it, but there is nothing to copy. -1 when the
// disk could not tell.
int IsDanglingLink(const std::string& hostPath, const DirectoryEntry& entry) {
  struct stat status;
  if (!entry.IsLink() || StatHost(hostPath, &status)) return 0;
  if (MeansMissing(errno)) return 1;
  SetLastErrorFromErrno(errno);
  return -1;
}

// Copies every entry `pattern` names in `folder` into `destination`, which exists. A folder
// that is the destination itself (a copy into its own source) is left out. A listing or a look
// at an entry that fails fails the copy: what it would have named is missing from the copy.
bool CopyEntries(const std::string& folder, bool driveRoot, const std::string& pattern,
                 const std::string& destination, const std::string& excluded) {
  std::vector<DirectoryEntry> entries;
  if (!HostListFolder(folder, pattern, driveRoot, &entries)) {
    return LastErrorMeansMissing() && IsHostFolder(folder) > 0;
  }
  const std::string from = folder == "/" ? "/" : folder + "/";
  bool copied = true;
  for (const DirectoryEntry& entry : entries) {
    const std::string source = from + entry.name;
    const int dangling = IsDanglingLink(source, entry);
    if (dangling != 0) {
      copied = copied && dangling > 0;
      continue;
    }
    std::string name;
    if (!FindNameInFolder(destination, entry.name, &name)) {
      SetLastErrorFromErrno(errno);
      copied = false;
      continue;
    }
    if (name.empty()) name = entry.name;
    const std::string target = destination + "/" + name;
    if (!entry.IsDirectory()) {
      copied = HostCopyFile(source, target, false) && copied;
      continue;
    }
    if (source == excluded) continue;
    const int targetFolder = IsHostFolder(target);
    if (targetFolder < 0 || (targetFolder == 0 && !HostMakeDirectory(target))) {
      copied = false;
      continue;
    }
    copied = CopyEntries(source, false, "*", target, excluded) && copied;
    HostSetAttributes(target, entry.attributes & kCopiedFolderBits);
  }
  return copied;
}

}  // namespace

bool ShellCopy(const std::string& sourcePattern, const std::string& destination,
               const std::string&) {
  const std::size_t split = FindLastSeparator(sourcePattern);
  if (split == std::string::npos) return false;
  const std::string folder = WithoutTrailingSeparators(sourcePattern.substr(0, split + 1), 3);
  const std::string pattern = sourcePattern.substr(split + 1);
  if (pattern.empty() || !IsDirectory(folder)) return false;
  const std::string target = WithoutTrailingSeparators(destination, 3);
  const WalkListings walk;
  if (!MakeDirectoryTree(target)) return false;
  const ResolvedPath source = ResolvePath(folder);
  std::string targetHost;
  if (source.error != 0 || !ResolveHostPath(target, &targetHost)) {
    if (source.error != 0) SetLastErrorFromErrno(source.error);
    return false;
  }
  targetHost = WithoutTrailingSlashes(targetHost);
  const bool driveRoot = source.names.empty() && !source.prefix.empty();
  return CopyEntries(WithoutTrailingSlashes(source.host), driveRoot, pattern, targetHost,
                     targetHost);
}

}  // namespace platform
