#include "base/folder_tree.h"

#include <optional>
#include <vector>

#include "base/path_compose.h"
#include "platform/file_system.h"

namespace {

bool DeleteFile(const std::string& path, std::uint32_t attributes) {
  if ((attributes & platform::kAttributeReadOnly) != 0) {
    platform::SetAttributes(path, attributes & ~platform::kAttributeReadOnly);
  }
  return platform::RemoveFile(path);
}

}  // namespace

bool CreateFolderTree(const std::string& path) {
  if (!CheckPathLength(path)) {
    return false;
  }
  if (platform::IsDirectory(path)) {
    return true;
  }
  for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
    const std::string prefix = path.substr(0, at);
    if (!platform::IsDirectory(prefix) && !platform::MakeDirectory(prefix)) {
      return false;
    }
  }
  if (!platform::IsDirectory(path)) {
    platform::MakeDirectory(path);
  }
  return platform::IsDirectory(path);
}

bool DeleteTree(const std::string& path) {
  const std::optional<std::string> pattern = ComposePath({path, "\\*"});
  std::vector<platform::DirectoryEntry> entries;
  if (!pattern || !platform::ListDirectory(*pattern, &entries)) {
    return false;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    const std::optional<std::string> fullName = ComposePath({path, "\\", entry.name});
    if (!fullName) {
      return false;
    }
    const bool deleted =
        entry.IsDirectory() ? DeleteTree(*fullName) : DeleteFile(*fullName, entry.attributes);
    if (!deleted) {
      return false;
    }
  }
  return platform::RemoveEmptyDirectory(path);
}
