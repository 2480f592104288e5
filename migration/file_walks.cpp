#include "migration/file_walks.h"

#include <functional>
#include <optional>

#include "base/path_compose.h"
#include "platform/file_system.h"

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) {
      return false;
    }
  }
  return true;
}

// Hands every file below `root` to `visit` with its full path and its name.
void WalkFiles(const std::string& root,
               const std::function<void(const std::string&, const std::string&)>& visit) {
  const std::optional<std::string> pattern = ComposePath({root, "\\*.*"});
  std::vector<platform::DirectoryEntry> entries;
  if (!pattern || !platform::ListDirectory(*pattern, &entries)) {
    return;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    const std::optional<std::string> path = ComposePath({root, "\\", entry.name});
    if (!path) {
      continue;
    }
    if (entry.IsDirectory()) {
      WalkFiles(*path, visit);
    } else {
      visit(*path, entry.name);
    }
  }
}

}  // namespace

std::vector<std::string> FindFilesRecursively(const std::string& root, const std::string& name) {
  std::vector<std::string> found;
  WalkFiles(root, [&](const std::string& path, const std::string& fileName) {
    if (SameNameIgnoringCase(fileName, name)) {
      found.push_back(path);
    }
  });
  return found;
}

void DeleteFilesRecursively(const std::string& root, const std::string& first,
                            const std::string& second) {
  WalkFiles(root, [&](const std::string& path, const std::string& fileName) {
    if (SameNameIgnoringCase(fileName, first) || SameNameIgnoringCase(fileName, second)) {
      platform::RemoveFile(path);
    }
  });
}
