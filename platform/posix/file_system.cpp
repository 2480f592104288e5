// Files and folders by Windows path: each path is resolved through the volume map and handed to
// the host-path operations.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/attribute_record.h"
#include "platform/posix/descriptor_io.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/host_files.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

bool StatHost(const std::string& hostPath, struct stat* status) {
  return stat(hostPath.c_str(), status) == 0;
}

bool IsReadOnlyFile(const struct stat& status) {
  return !S_ISDIR(status.st_mode) && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string JoinNames(const ResolvedPath& resolved, bool shortNames) {
  std::string text = resolved.prefix;
  // Walk the host folders from the drive down to name each component.
  std::string folder = resolved.host;
  for (std::size_t i = 0; i < resolved.names.size(); ++i) folder = HostParentOf(folder);
  for (std::size_t i = 0; i < resolved.names.size(); ++i) {
    const std::string& name = resolved.names[i];
    if (i > 0 || !resolved.prefix.empty()) text += "\\";
    text += shortNames ? ShortNameOf(folder, name) : name;
    folder += "/" + name;
  }
  if (resolved.names.empty() && !resolved.prefix.empty()) text += "\\";
  return text;
}

std::string PathForm(const std::string& path, bool shortNames) {
  const ResolvedPath resolved = ResolvePath(path);
  if (!resolved.exists) {
    SetMissingPathError(resolved.host);
    return "";
  }
  if (resolved.hostPathGiven) return path;
  std::string text = JoinNames(resolved, shortNames);
  if (!path.empty() && (path.back() == '\\' || path.back() == '/') && text.back() != '\\') {
    text += "\\";
  }
  return text;
}

}  // namespace

bool IsDirectory(const std::string& path) {
  struct stat status;
  return StatHost(ToHostPath(path), &status) && S_ISDIR(status.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat status;
  return StatHost(ToHostPath(path), &status);
}

std::uint32_t GetAttributes(const std::string& path) {
  const std::string host = ToHostPath(path);
  struct stat status;
  if (lstat(host.c_str(), &status) != 0) {
    SetMissingPathError(host);
    return kInvalidAttributes;
  }
  return HostAttributes(WithoutTrailingSlashes(host), status);
}

bool SetAttributes(const std::string& path, std::uint32_t attributes) {
  return HostSetAttributes(ToHostPath(path), attributes);
}

bool MakeDirectory(const std::string& path) {
  return HostMakeDirectory(ToHostPath(path));
}

bool RemoveEmptyDirectory(const std::string& path) {
  return HostRemoveEmptyDirectory(WithoutTrailingSlashes(ToHostPath(path)));
}

bool RemoveFile(const std::string& path) {
  return HostRemoveFile(ToHostPath(path));
}

bool CopyOneFile(const std::string& from, const std::string& to, bool failIfExists) {
  return HostCopyFile(ToHostPath(from), ToHostPath(to), failIfExists);
}

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  const std::string source = ToHostPath(from);
  const std::string target = ToHostPath(to);
  struct stat status;
  if (!StatHost(source, &status)) {
    SetMissingPathError(source);
    return false;
  }
  const bool targetExists = StatHost(target, &status);
  if (targetExists && (S_ISDIR(status.st_mode) || IsReadOnlyFile(status))) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (InjectFault(FileOperation::kRename) || rename(source.c_str(), target.c_str()) != 0) {
    SetLastErrorCode(errno == ENOENT ? kErrorPathNotFound : kErrorAccessDenied);
    return false;
  }
  NoteEntryRemoved(source);
  if (!targetExists) NoteEntryAdded(target);
  RecordAttributes(target, RecordedAttributes(source));
  RecordAttributes(source, 0);
  // Write-through: the new name is on the disk when this returns, not at some later flush.
  const int folder = open(HostParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = folder >= 0 && !InjectFault(FileOperation::kFsync) && fsync(folder) == 0;
  if (!synced) SetLastErrorFromErrno(errno);
  if (folder >= 0) close(folder);
  return synced;
}

bool MoveToNewName(const std::string& from, const std::string& to) {
  const std::string source = ToHostPath(from);
  const std::string target = ToHostPath(to);
  struct stat status;
  if (lstat(target.c_str(), &status) == 0) {
    SetLastErrorCode(kErrorAlreadyExists);
    return false;
  }
  if (InjectFault(FileOperation::kRename) || rename(source.c_str(), target.c_str()) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  NoteEntryRemoved(source);
  NoteEntryAdded(target);
  const int folder = open(HostParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

std::string GetLongPathForm(const std::string& path) {
  return PathForm(path, false);
}

std::string GetShortPathForm(const std::string& path) {
  return PathForm(path, true);
}

bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>* entries) {
  entries->clear();
  std::size_t split = pattern.find_last_of("\\/");
  if (split == std::string::npos && pattern.size() >= 2 && pattern[1] == ':') split = 1;
  const std::string folder = split == std::string::npos ? "." : pattern.substr(0, split + 1);
  const std::string namePattern = split == std::string::npos ? pattern : pattern.substr(split + 1);
  const ResolvedPath resolved = ResolvePath(folder);
  const bool driveRoot = resolved.names.empty() && !resolved.prefix.empty();
  return HostListFolder(WithoutTrailingSlashes(resolved.host), namePattern, driveRoot, entries);
}

}  // namespace platform
