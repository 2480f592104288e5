#include "platform/folder_walk.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/posix/host_files.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

// The folder held open, so that its entries are reached relative to it; AT_FDCWD when it
// cannot be opened (the calls then take the full path and fail as they would).
struct OpenFolder {
  int descriptor = AT_FDCWD;
  ~OpenFolder() {
    if (descriptor >= 0) close(descriptor);
  }
};

// A walk whose root could not be resolved does nothing: its host path names no folder of the
// machine (the host's own root, for a drive that could not be looked up). False then, with the
// last error set.
bool Resolved(int error, const std::string& location) {
  if (error != 0) {
    SetLastErrorFromErrno(error);
    return false;
  }
  if (location.empty()) {
    SetLastErrorCode(kErrorPathNotFound);
    return false;
  }
  return true;
}

}  // namespace

FolderWalk::FolderWalk(const std::string& path) : walk_(std::make_shared<WalkListings>()) {
  const ResolvedPath resolved = ResolvePath(path);
  location_ = WithoutTrailingSlashes(resolved.host);
  driveRoot_ = resolved.names.empty() && !resolved.prefix.empty();
  error_ = resolved.error;
}

FolderWalk::FolderWalk(std::string location, std::shared_ptr<void> walk, bool driveRoot)
    : location_(std::move(location)), walk_(std::move(walk)), driveRoot_(driveRoot) {}

bool FolderWalk::List(const std::string& pattern, std::vector<DirectoryEntry>* entries) const {
  entries->clear();
  if (!Resolved(error_, location_)) return false;
  return HostListFolder(location_, pattern, driveRoot_, entries);
}

FolderWalk FolderWalk::Enter(const std::string& name) const {
  FolderWalk folder(location_ + "/" + name, walk_, false);
  folder.error_ = error_;
  if (location_.empty()) folder.location_.clear();
  return folder;
}

bool FolderWalk::OpenFile(const std::string& name, File::Mode mode, File* file) const {
  return Resolved(error_, location_) && file->OpenResolved(location_ + "/" + name, mode);
}

bool FolderWalk::MakeFolder(const std::string& name) const {
  return Resolved(error_, location_) && HostMakeDirectory(location_ + "/" + name);
}

bool FolderWalk::RemoveFile(const std::string& name) const {
  if (!Resolved(error_, location_)) return false;
  if (!folder_) {
    auto folder = std::make_shared<OpenFolder>();
    const int descriptor = open(location_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) folder->descriptor = descriptor;
    folder_ = folder;
  }
  const int descriptor = static_cast<const OpenFolder*>(folder_.get())->descriptor;
  const std::string host = location_ + "/" + name;
  return HostRemoveFileAt(descriptor, descriptor == AT_FDCWD ? host : name, host);
}

bool FolderWalk::SetAttributes(const std::string& name, std::uint32_t attributes) const {
  return Resolved(error_, location_) && HostSetAttributes(location_ + "/" + name, attributes);
}

bool FolderWalk::RemoveFolder() const {
  return Resolved(error_, location_) && HostRemoveEmptyDirectory(location_);
}

}  // namespace platform
