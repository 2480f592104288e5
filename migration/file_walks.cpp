#include "migration/file_walks.h"

#include <functional>
#include <optional>

#include "base/multibyte_case.h"
#include "base/path_compose.h"
#include "platform/file_system.h"
#include "platform/folder_walk.h"

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ToUpperMultiByte(a) == ToUpperMultiByte(b);
}

using FileVisitor = std::function<void(const platform::FolderWalk& folder, const std::string& path,
                                       const std::string& name)>;

// Hands every file below `root` to `visit` with the folder that holds it, its full path and its
// name; `folder` is `root`, resolved once for the whole walk. A folder that cannot be listed,
// though it is there, goes to `context`.
void WalkFiles(IMessageSink& sink, const platform::FolderWalk& folder, const std::string& root,
               const FileVisitor& visit, MigrationContext* context) {
  std::vector<platform::DirectoryEntry> entries;
  if (!ComposePath(sink, {root, "\\*.*"})) {
    return;
  }
  if (!folder.List("*.*", &entries)) {
    if (context != nullptr && !platform::LastErrorMeansMissing()) NoteUnreadable(context, root);
    return;
  }
  for (const platform::DirectoryEntry& entry : entries) {
    const std::optional<std::string> path = ComposePath(sink, {root, "\\", entry.name});
    if (!path) {
      continue;
    }
    if (entry.IsDirectory()) {
      WalkFiles(sink, folder.Enter(entry.name), *path, visit, context);
    } else {
      visit(folder, *path, entry.name);
    }
  }
}

}  // namespace

std::vector<std::string> FindFilesRecursively(IMessageSink& sink, const std::string& root,
                                              const std::string& name, MigrationContext* context) {
  std::vector<std::string> found;
  WalkFiles(
      sink, platform::FolderWalk(root), root,
      [&](const platform::FolderWalk&, const std::string& path, const std::string& fileName) {
        if (SameNameIgnoringCase(fileName, name)) {
          found.push_back(path);
        }
      },
      context);
  return found;
}

void DeleteFilesRecursively(IMessageSink& sink, const std::string& root, const std::string& first,
                            const std::string& second) {
  WalkFiles(
      sink, platform::FolderWalk(root), root,
      [&](const platform::FolderWalk& folder, const std::string&, const std::string& fileName) {
        if (SameNameIgnoringCase(fileName, first) || SameNameIgnoringCase(fileName, second)) {
          folder.RemoveFile(fileName);
        }
      },
      nullptr);
}
