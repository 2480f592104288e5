#include "platform/folder_walk.h"

#include "platform/posix/host_files.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

FolderWalk::FolderWalk(const std::string& path) : walk_(std::make_shared<WalkListings>()) {
  const ResolvedPath resolved = ResolvePath(path);
  location_ = WithoutTrailingSlashes(resolved.host);
  driveRoot_ = resolved.names.empty() && !resolved.prefix.empty();
}

FolderWalk::FolderWalk(std::string location, std::shared_ptr<void> walk, bool driveRoot)
    : location_(std::move(location)), walk_(std::move(walk)), driveRoot_(driveRoot) {}

bool FolderWalk::List(const std::string& pattern, std::vector<DirectoryEntry>* entries) const {
  return HostListFolder(location_, pattern, driveRoot_, entries);
}

FolderWalk FolderWalk::Enter(const std::string& name) const {
  return FolderWalk(location_ + "/" + name, walk_, false);
}

bool FolderWalk::RemoveFile(const std::string& name) const {
  return HostRemoveFile(location_ + "/" + name);
}

bool FolderWalk::SetAttributes(const std::string& name, std::uint32_t attributes) const {
  return HostSetAttributes(location_ + "/" + name, attributes);
}

bool FolderWalk::RemoveFolder() const {
  return HostRemoveEmptyDirectory(location_);
}

}  // namespace platform
