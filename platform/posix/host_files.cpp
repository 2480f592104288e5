// File operations on resolved host paths. Read-only files are those without write permission
// bits; the layer checks the bits itself so that it refuses what Windows refuses even when the
// process may write anywhere (tests often run as root). Every change is reported to the volume
// map, whose listings a running walk reuses.
#include "platform/posix/host_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/ascii_characters.h"
#include "platform/posix/attribute_record.h"
#include "platform/posix/descriptor_io.h"
#include "platform/posix/host_calls.h"
#include "platform/posix/last_error.h"
#include "platform/posix/power_loss.h"
#include "platform/posix/short_names.h"
#include "platform/posix/volume_map.h"
#include "platform/posix/wildcard.h"

namespace platform {
namespace {

// Attribute bits kept in the record rather than in the permission bits.
constexpr std::uint32_t kRecordedFileBits = 0x02 | 0x04 | 0x20;

bool IsReadOnlyFile(const struct stat& status) {
  return !S_ISDIR(status.st_mode) && !S_ISLNK(status.st_mode) &&
         (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// 1 for a symbolic link whose target is a folder, 0 for anything else, -1 when the target
// could not be looked at (errno set).
int IsFolderLink(const std::string& hostPath, const struct stat& linkStatus) {
  if (!S_ISLNK(linkStatus.st_mode)) return 0;
  struct stat target;
  if (!StatHost(hostPath, &target)) return MeansMissing(errno) ? 0 : -1;
  return S_ISDIR(target.st_mode) ? 1 : 0;
}

}  // namespace

void SetMissingPathError(const std::string& hostPath) {
  struct stat status;
  // An empty host path: the drive itself is missing. Only the code is chosen here: the look at
  // the parent is no query of the caller's, and goes uncounted.
  SetLastErrorCode(!hostPath.empty() && stat(HostParentOf(hostPath).c_str(), &status) == 0
                       ? kErrorFileNotFound
                       : kErrorPathNotFound);
}

void SetQueryError(const std::string& hostPath, int error) {
  if (MeansMissing(error)) {
    SetMissingPathError(hostPath);
  } else {
    SetLastErrorFromErrno(error);
  }
}

std::uint32_t HostAttributes(const std::string& hostPath, const struct stat& linkStatus) {
  std::uint32_t attributes = RecordedAttributes(hostPath);
  if (S_ISLNK(linkStatus.st_mode)) attributes |= kAttributeReparsePoint;
  const int folderLink = IsFolderLink(hostPath, linkStatus);
  if (folderLink < 0) {
    SetLastErrorFromErrno(errno);
    return kInvalidAttributes;
  }
  if (S_ISDIR(linkStatus.st_mode) || folderLink > 0) {
    attributes |= kAttributeDirectory;
  }
  if (IsReadOnlyFile(linkStatus)) attributes |= kAttributeReadOnly;
  return attributes == 0 ? kAttributeNormal : attributes;
}

bool HostListFolder(const std::string& hostFolder, const std::string& pattern, bool driveRoot,
                    std::vector<DirectoryEntry>* entries) {
  entries->clear();
  std::vector<std::string> all;
  int folder = -1;
  if (!ReadFolderNames(hostFolder, &all, &folder)) {
    // A folder that is there but cannot be read is no missing folder.
    if (MeansMissing(errno)) {
      SetLastErrorCode(kErrorPathNotFound);
    } else {
      SetLastErrorFromErrno(errno);
    }
    return false;
  }
  // Every folder but a drive root holds "." and "..": a pattern that matches them starts the
  // listing even when nothing else matches.
  const bool started = !driveRoot && !pattern.empty() &&
                       (MatchesWildcard(pattern, ".") || MatchesWildcard(pattern, ".."));
  // A name without wildcards may be an 8.3 alias; only then are aliases worth working out.
  const bool matchAliases = !HasWildcards(pattern) && pattern.find('~') != std::string::npos;
  if (matchAliases) std::sort(all.begin(), all.end());
  // Sorted by name with letter case ignored; the upper-case key is made once per name.
  std::vector<std::pair<std::string, std::string>> names;
  for (const std::string& name : all) {
    if (MatchesWildcard(pattern, name) ||
        (matchAliases && MatchesWildcard(pattern, AliasAmong(all, name)))) {
      names.emplace_back(AsciiUpperCase(name), name);
    }
  }
  std::sort(names.begin(), names.end());
  // Each entry is looked at relative to the open folder: no walk down the whole path again.
  const std::string prefix = hostFolder == "/" ? "/" : hostFolder + "/";
  bool listed = true;
  for (const auto& [key, name] : names) {
    struct stat status;
    if (!StatAtHost(folder, name, &status, AT_SYMLINK_NOFOLLOW)) {
      // Gone since the names were read: as if listed a moment later.
      if (errno == ENOENT) continue;
      listed = false;
      break;
    }
    DirectoryEntry entry;
    entry.name = name;
    entry.attributes = HostAttributes(prefix + name, status);
    if (entry.attributes == kInvalidAttributes) {
      listed = false;
      break;
    }
    entry.size = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
    entries->push_back(std::move(entry));
  }
  const int error = errno;
  close(folder);
  if (!listed) {
    SetLastErrorFromErrno(error);
    entries->clear();
    return false;
  }
  if (entries->empty() && !started) {
    SetLastErrorCode(kErrorFileNotFound);
    return false;
  }
  return true;
}

bool HostSetAttributes(const std::string& host, std::uint32_t attributes) {
  struct stat status;
  if (!LinkStatusHost(host, &status)) {
    SetQueryError(host, errno);
    return false;
  }
  std::uint32_t recorded = attributes & kRecordedFileBits;
  if (S_ISDIR(status.st_mode) || S_ISLNK(status.st_mode)) {
    // A read-only folder still takes new files on Windows, so the bit is only recorded; a link
    // keeps its bits in the record too, and its target is never touched.
    recorded |= attributes & kAttributeReadOnly;
  } else {
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    mode_t mode = status.st_mode & 07777;
    if ((attributes & kAttributeReadOnly) != 0) {
      mode &= ~writable;
    } else if ((mode & writable) == 0) {
      mode |= S_IWUSR;
    }
    if (mode != (status.st_mode & 07777) && chmod(host.c_str(), mode) != 0) {
      SetLastErrorFromErrno(errno);
      return false;
    }
  }
  RecordAttributes(host, recorded);
  return true;
}

bool HostMakeDirectory(const std::string& host) {
  if (!MakeHostFolder(host)) {
    if (errno == ENOENT) {
      SetLastErrorCode(kErrorPathNotFound);
    } else {
      SetLastErrorFromErrno(errno);
    }
    return false;
  }
  NoteFolderCreated(host);
  return true;
}

bool HostRemoveEmptyDirectory(const std::string& host) {
  struct stat status;
  if (!LinkStatusHost(host, &status)) {
    SetQueryError(host, errno);
    return false;
  }
  const int folderLink = IsFolderLink(host, status);
  if (folderLink < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (!S_ISDIR(status.st_mode) && folderLink == 0) {
    SetLastErrorCode(kErrorNotADirectory);
    return false;
  }
  if ((RecordedAttributes(host) & kAttributeReadOnly) != 0) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  // A link to a folder goes as the link, as RemoveDirectoryA removes a junction.
  if (!RemoveHostFolder(host)) {
    SetLastErrorFromErrno(errno == EEXIST ? ENOTEMPTY : errno);
    return false;
  }
  NoteEntryRemoved(host);
  RecordAttributes(host, 0);
  return true;
}

bool HostRemoveFileAt(int folder, const std::string& name, const std::string& host) {
  struct stat status;
  if (!StatAtHost(folder, name, &status, AT_SYMLINK_NOFOLLOW)) {
    SetQueryError(host, errno);
    return false;
  }
  if (S_ISDIR(status.st_mode) || IsReadOnlyFile(status)) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (!UnlinkAtHost(folder, name)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  NoteEntryRemoved(host);
  RecordAttributes(host, 0);
  return true;
}

bool HostRemoveFile(const std::string& host) {
  return HostRemoveFileAt(AT_FDCWD, host, host);
}

bool HostCopyFile(const std::string& source, const std::string& target, bool failIfExists) {
  struct stat sourceStatus;
  if (!StatHost(source, &sourceStatus)) {
    SetQueryError(source, errno);
    return false;
  }
  if (S_ISDIR(sourceStatus.st_mode)) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  struct stat targetStatus;
  const bool targetExists = StatHost(target, &targetStatus);
  if (!targetExists && !MeansMissing(errno)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (targetExists) {
    // Copying a file onto itself would truncate it; Windows refuses it as a sharing conflict.
    if (targetStatus.st_dev == sourceStatus.st_dev && targetStatus.st_ino == sourceStatus.st_ino) {
      SetLastErrorCode(kErrorSharingViolation);
      return false;
    }
    if (failIfExists) {
      SetLastErrorCode(kErrorFileExists);
      return false;
    }
    if (S_ISDIR(targetStatus.st_mode) || IsReadOnlyFile(targetStatus)) {
      SetLastErrorCode(kErrorAccessDenied);
      return false;
    }
  }
  const int input = OpenDescriptor(source, O_RDONLY | O_CLOEXEC);
  if (input < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  if (targetExists) NoteTruncating(target);
  const int output = OpenDescriptor(target, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (output < 0) {
    SetLastErrorCode(errno == ENOENT ? kErrorPathNotFound : kErrorAccessDenied);
    close(input);
    return false;
  }
  if (!targetExists) {
    NoteEntryAdded(target);
    NoteCreated(target);
  }
  bool copied = CopyDescriptor(input, output);
  if (!copied) SetLastErrorFromErrno(errno);
  // The copy keeps the source's time stamp and attributes, as CopyFileA does.
  const struct timespec times[2] = {sourceStatus.st_atim, sourceStatus.st_mtim};
  futimens(output, times);
  fchmod(output, sourceStatus.st_mode & 07777);
  close(input);
  if (close(output) != 0 && copied) {
    SetLastErrorFromErrno(errno);
    copied = false;
  }
  RecordAttributes(target, RecordedAttributes(source) & kRecordedFileBits);
  return copied;
}

}  // namespace platform
