// The shell's silent recursive copy, done file by file: what the pattern names goes into the
// destination, folders with all they hold, missing folders created and existing files replaced.
#include "platform/shell_copy.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

constexpr std::uint32_t kCopiedFolderBits = kAttributeReadOnly | kAttributeHidden | 0x04;

bool CreateFolders(const std::string& path) {
  for (std::size_t slash = path.find('\\');; slash = path.find('\\', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (!prefix.empty() && !IsDirectory(prefix) && !MakeDirectory(prefix)) return false;
    if (slash == std::string::npos) return true;
  }
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

// Copies every entry `pattern` names in `folder` into `destination`, which exists. A folder
// that is the destination itself (a copy into its own source) is left out.
bool CopyEntries(const std::string& folder, const std::string& pattern,
                 const std::string& destination, const std::string& excludedHost) {
  std::vector<DirectoryEntry> entries;
  if (!ListDirectory(folder + "\\" + pattern, &entries)) return IsDirectory(folder);
  bool copied = true;
  for (const DirectoryEntry& entry : entries) {
    const std::string source = folder + "\\" + entry.name;
    const std::string target = destination + "\\" + entry.name;
    if (!entry.IsDirectory()) {
      copied = CopyOneFile(source, target, false) && copied;
      continue;
    }
    if (ToHostPath(source) == excludedHost) continue;
    if (!IsDirectory(target) && !MakeDirectory(target)) {
      copied = false;
      continue;
    }
    copied = CopyEntries(source, "*", target, excludedHost) && copied;
    SetAttributes(target, entry.attributes & kCopiedFolderBits);
  }
  return copied;
}

}  // namespace

bool ShellCopy(const std::string& sourcePattern, const std::string& destination,
               const std::string&) {
  const std::size_t split = sourcePattern.find_last_of("\\/");
  if (split == std::string::npos) return false;
  const std::string folder = WithoutTrailingSeparator(sourcePattern.substr(0, split + 1));
  const std::string pattern = sourcePattern.substr(split + 1);
  if (pattern.empty() || !IsDirectory(folder)) return false;
  const std::string target = WithoutTrailingSeparator(destination);
  if (!CreateFolders(target)) return false;
  return CopyEntries(folder, pattern, target, ToHostPath(target));
}

}  // namespace platform
