// On Windows the walk is the path-based calls on each entry's full path.
#include "platform/folder_walk.h"

#include "platform/path_split.h"

namespace platform {

FolderWalk::FolderWalk(const std::string& path) : location_(WithoutTrailingSeparators(path, 3)) {}

FolderWalk::FolderWalk(std::string location, std::shared_ptr<void> walk, bool driveRoot)
    : location_(std::move(location)), walk_(std::move(walk)), driveRoot_(driveRoot) {}

bool FolderWalk::List(const std::string& pattern, std::vector<DirectoryEntry>* entries) const {
  return ListDirectory(location_ + "\\" + pattern, entries);
}

FolderWalk FolderWalk::Enter(const std::string& name) const {
  return FolderWalk(location_ + "\\" + name, walk_, false);
}

bool FolderWalk::OpenFile(const std::string& name, File::Mode mode, File* file) const {
  return file->OpenResolved(location_ + "\\" + name, mode);
}

bool FolderWalk::MakeFolder(const std::string& name) const {
  return MakeDirectory(location_ + "\\" + name);
}

bool FolderWalk::RemoveFile(const std::string& name) const {
  return platform::RemoveFile(location_ + "\\" + name);
}

bool FolderWalk::SetAttributes(const std::string& name, std::uint32_t attributes) const {
  return platform::SetAttributes(location_ + "\\" + name, attributes);
}

bool FolderWalk::RemoveFolder() const {
  return RemoveEmptyDirectory(location_);
}

}  // namespace platform
