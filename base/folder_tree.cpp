#include "base/folder_tree.h"

#include <optional>
#include <vector>

#include "base/path_compose.h"
#include "platform/file_system.h"
#include "platform/folder_walk.h"

namespace {

bool DeleteFile(const platform::FolderWalk& folder, const platform::DirectoryEntry& entry) {
  if ((entry.attributes & platform::kAttributeReadOnly) != 0) {
    folder.SetAttributes(entry.name, entry.attributes & ~platform::kAttributeReadOnly);
  }
  return folder.RemoveFile(entry.name);
}

// `folder` is `path`, resolved once for the whole walk; `path` names entries in the log and in
// `notDeleted`. Without `notDeleted` the walk stops at the first entry that will not go.
bool DeleteTreeAt(IMessageSink& sink, const platform::FolderWalk& folder, const std::string& path,
                  std::vector<std::string>* notDeleted) {
  std::vector<platform::DirectoryEntry> entries;
  if (!ComposePath(sink, {path, "\\*"}) || !folder.List("*", &entries)) {
    if (notDeleted != nullptr) notDeleted->push_back(path);
    return false;
  }
  bool everythingDeleted = true;
  for (const platform::DirectoryEntry& entry : entries) {
    const std::optional<std::string> fullName = ComposePath(sink, {path, "\\", entry.name});
    bool deleted = false;
    if (!fullName) {
      // Too long to reach: it stays, named as far as it can be.
    } else if (entry.IsLink()) {
      // A link goes as a link: what it points to lies outside the tree.
      deleted = entry.IsDirectory() ? folder.Enter(entry.name).RemoveFolder()
                                    : folder.RemoveFile(entry.name);
    } else if (entry.IsDirectory()) {
      // The sub-folder's own walk names what stayed in it.
      if (!DeleteTreeAt(sink, folder.Enter(entry.name), *fullName, notDeleted)) {
        if (notDeleted == nullptr) return false;
        everythingDeleted = false;
      }
      continue;
    } else {
      deleted = DeleteFile(folder, entry);
    }
    if (!deleted) {
      if (notDeleted == nullptr) return false;
      notDeleted->push_back(fullName ? *fullName : path + "\\" + entry.name);
      everythingDeleted = false;
    }
  }
  if (!everythingDeleted) {
    return false;
  }
  if (!folder.RemoveFolder()) {
    if (notDeleted != nullptr) notDeleted->push_back(path);
    return false;
  }
  return true;
}

}  // namespace

bool CreateFolderTree(IMessageSink& sink, const std::string& path) {
  return CheckPathLength(sink, path) && platform::MakeDirectoryTree(path);
}

bool DeleteTree(IMessageSink& sink, const std::string& path) {
  return DeleteTreeAt(sink, platform::FolderWalk(path), path, nullptr);
}

bool DeleteTreePastFailures(IMessageSink& sink, const std::string& path,
                            std::vector<std::string>* notDeleted) {
  return DeleteTreeAt(sink, platform::FolderWalk(path), path, notDeleted);
}
