// A walk over a folder tree that resolves its root once: entries and sub-folders are reached by
// name from the folder that holds them, never by resolving their full path again. Each operation
// follows the rules, and sets the errors, of its path-based counterpart in file_system.h applied
// to the entry's full path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"

namespace platform {

class FolderWalk {
 public:
  // The folder `path` (Windows form, no trailing backslash needed).
  explicit FolderWalk(const std::string& path);

  // ListDirectory of the folder's path + "\" + `pattern`.
  bool List(const std::string& pattern, std::vector<DirectoryEntry>* entries) const;
  // The sub-folder (or folder link) `name` listed in this folder.
  FolderWalk Enter(const std::string& name) const;

  // File::Open of the entry `name`, which may not exist yet.
  bool OpenFile(const std::string& name, File::Mode mode, File* file) const;
  // MakeDirectory of the entry `name`.
  bool MakeFolder(const std::string& name) const;
  bool RemoveFile(const std::string& name) const;
  bool SetAttributes(const std::string& name, std::uint32_t attributes) const;
  // RemoveEmptyDirectory of the folder itself; a link to a folder is removed as the link.
  bool RemoveFolder() const;

 private:
  FolderWalk(std::string location, std::shared_ptr<void> walk, bool driveRoot);

  std::string location_;                  // Win32: the Windows path; POSIX: the host path
  std::shared_ptr<void> walk_;            // what the system keeps while the walk runs
  mutable std::shared_ptr<void> folder_;  // what it keeps for this folder, made at first use
  bool driveRoot_ = false;
  int error_ = 0;  // POSIX: errno of the root's resolution when it failed
};

}  // namespace platform
