// Files and folders by Windows path: each path is resolved through the volume map and handed to
// the host-path operations.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/path_split.h"
#include "platform/posix/attribute_record.h"
#include "platform/posix/host_calls.h"
#include "platform/posix/host_files.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

bool IsReadOnlyFile(const struct stat& status) {
  return !S_ISDIR(status.st_mode) && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Every component's name, or its alias; false when a folder on the way cannot be listed.
bool JoinNames(const ResolvedPath& resolved, bool shortNames, std::string* text) {
  *text = resolved.prefix;
  // Walk the host folders from the drive down to name each component.
  std::string folder = resolved.host;
  for (std::size_t i = 0; i < resolved.names.size(); ++i) folder = HostParentOf(folder);
  for (std::size_t i = 0; i < resolved.names.size(); ++i) {
    const std::string& name = resolved.names[i];
    if (i > 0 || !resolved.prefix.empty()) *text += "\\";
    std::string alias = name;
    if (shortNames && !ShortNameOf(folder, name, &alias)) return false;
    *text += alias;
    folder += "/" + name;
  }
  if (resolved.names.empty() && !resolved.prefix.empty()) *text += "\\";
  return true;
}

std::string PathForm(const std::string& path, bool shortNames) {
  const ResolvedPath resolved = ResolvePath(path);
  if (resolved.error != 0) {
    SetLastErrorFromErrno(resolved.error);
    return "";
  }
  if (!resolved.exists) {
    SetMissingPathError(resolved.host);
    return "";
  }
  if (resolved.hostPathGiven) return path;
  std::string text;
  if (!JoinNames(resolved, shortNames, &text)) return "";
  if (EndsWithSeparator(path) && !EndsWithSeparator(text)) {
    text += "\\";
  }
  return text;
}

// The host path's status; false with the last error set when it is missing or unreadable.
bool Status(const std::string& path, struct stat* status, std::string* host) {
  if (!ResolveHostPath(path, host)) return false;
  if (StatHost(*host, status)) return true;
  SetQueryError(*host, errno);
  return false;
}

}  // namespace

PathKind QueryPath(const std::string& path) {
  struct stat status;
  std::string host;
  if (!Status(path, &status, &host))
    return LastErrorMeansMissing() ? PathKind::kMissing : PathKind::kUnknown;
  return S_ISDIR(status.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

bool LastErrorMeansMissing() {
  const std::uint32_t code = LastErrorCode();
  return code == kErrorFileNotFound || code == kErrorPathNotFound;
}

bool IsDirectory(const std::string& path) {
  return QueryPath(path) == PathKind::kFolder;
}

bool PathExists(const std::string& path) {
  const PathKind kind = QueryPath(path);
  return kind == PathKind::kFile || kind == PathKind::kFolder;
}

std::uint32_t GetAttributes(const std::string& path) {
  std::string host;
  if (!ResolveHostPath(path, &host)) return kInvalidAttributes;
  struct stat status;
  if (!LinkStatusHost(host, &status)) {
    SetQueryError(host, errno);
    return kInvalidAttributes;
  }
  return HostAttributes(WithoutTrailingSlashes(host), status);
}

bool SetAttributes(const std::string& path, std::uint32_t attributes) {
  std::string host;
  return ResolveHostPath(path, &host) && HostSetAttributes(host, attributes);
}

bool MakeDirectory(const std::string& path) {
  std::string host;
  return ResolveHostPath(path, &host) && HostMakeDirectory(host);
}

bool MakeDirectoryDurably(const std::string& path) {
  std::string host;
  if (!ResolveHostPath(path, &host) || !HostMakeDirectory(host)) return false;
  if (SyncHostFolder(HostParentOf(host))) return true;
  SetLastErrorFromErrno(errno);
  return false;
}

bool RemoveEmptyDirectory(const std::string& path) {
  std::string host;
  return ResolveHostPath(path, &host) && HostRemoveEmptyDirectory(WithoutTrailingSlashes(host));
}

bool RemoveFile(const std::string& path) {
  std::string host;
  return ResolveHostPath(path, &host) && HostRemoveFile(host);
}

bool CopyOneFile(const std::string& from, const std::string& to, bool failIfExists) {
  std::string source, target;
  return ResolveHostPath(from, &source) && ResolveHostPath(to, &target) &&
         HostCopyFile(source, target, failIfExists);
}

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  std::string source, target;
  struct stat status;
  if (!Status(from, &status, &source) || !ResolveHostPath(to, &target)) return false;
  const bool targetExists = StatHost(target, &status);
  if (!targetExists && !MeansMissing(errno)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (targetExists && (S_ISDIR(status.st_mode) || IsReadOnlyFile(status))) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (!RenameHost(source, target)) {
    SetLastErrorCode(errno == ENOENT ? kErrorPathNotFound : kErrorAccessDenied);
    return false;
  }
  NoteEntryRemoved(source);
  if (!targetExists) NoteEntryAdded(target);
  RecordAttributes(target, RecordedAttributes(source));
  RecordAttributes(source, 0);
  // Write-through: the new name is on the disk when this returns, not at some later flush.
  if (SyncHostFolder(HostParentOf(target))) return true;
  SetLastErrorFromErrno(errno);
  return false;
}

bool MoveToNewName(const std::string& from, const std::string& to) {
  std::string source, target;
  if (!ResolveHostPath(from, &source) || !ResolveHostPath(to, &target)) return false;
  struct stat status;
  if (LinkStatusHost(target, &status)) {
    SetLastErrorCode(kErrorAlreadyExists);
    return false;
  }
  if (!MeansMissing(errno)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (!RenameHost(source, target)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  NoteEntryRemoved(source);
  NoteEntryAdded(target);
  // Write-through: both folders' entries are on the disk when this returns.
  const std::string sourceFolder = HostParentOf(source), targetFolder = HostParentOf(target);
  if (SyncHostFolder(targetFolder) &&
      (sourceFolder == targetFolder || SyncHostFolder(sourceFolder))) {
    return true;
  }
  SetLastErrorFromErrno(errno);
  return false;
}

bool FlushFile(const std::string& path) {
  std::string host;
  if (!ResolveHostPath(path, &host)) return false;
  const int file = open(host.c_str(), O_RDONLY | O_CLOEXEC);
  const bool flushed = file >= 0 && SyncDescriptor(file);
  const int error = errno;
  if (file >= 0) close(file);
  if (!flushed) SetQueryError(host, error);
  return flushed;
}

bool FlushFolder(const std::string& path) {
  std::string host;
  if (!ResolveHostPath(path, &host)) return false;
  if (SyncHostFolder(WithoutTrailingSlashes(host))) return true;
  SetQueryError(host, errno);
  return false;
}

std::string GetLongPathForm(const std::string& path) {
  return PathForm(path, false);
}

std::string GetShortPathForm(const std::string& path) {
  return PathForm(path, true);
}

bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>* entries) {
  entries->clear();
  std::size_t split = FindLastSeparator(pattern);
  if (split == std::string::npos && pattern.size() >= 2 && pattern[1] == ':') split = 1;
  const std::string folder = split == std::string::npos ? "." : pattern.substr(0, split + 1);
  const std::string namePattern = split == std::string::npos ? pattern : pattern.substr(split + 1);
  const ResolvedPath resolved = ResolvePath(folder);
  if (resolved.error != 0) {
    SetLastErrorFromErrno(resolved.error);
    return false;
  }
  const bool driveRoot = resolved.names.empty() && !resolved.prefix.empty();
  return HostListFolder(WithoutTrailingSlashes(resolved.host), namePattern, driveRoot, entries);
}

}  // namespace platform
