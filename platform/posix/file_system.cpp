// Files and folders through the volume map. Read-only files are those without write permission
// bits; the layer checks the bits itself so that it refuses what Windows refuses even when the
// process may write anywhere (tests often run as root).
#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "platform/posix/attribute_record.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"
#include "platform/posix/wildcard.h"

namespace platform {
namespace {

// Attribute bits kept in the record rather than in the permission bits.
constexpr std::uint32_t kRecordedFileBits = 0x02 | 0x04 | 0x20;

bool StatHost(const std::string& hostPath, struct stat* status) {
  return stat(hostPath.c_str(), status) == 0;
}

bool IsReadOnlyFile(const struct stat& status) {
  return !S_ISDIR(status.st_mode) && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::uint32_t AttributesOf(const std::string& hostPath, const struct stat& status) {
  std::uint32_t attributes = RecordedAttributes(hostPath);
  if (S_ISDIR(status.st_mode)) attributes |= kAttributeDirectory;
  if (IsReadOnlyFile(status)) attributes |= kAttributeReadOnly;
  return attributes == 0 ? kAttributeNormal : attributes;
}

std::string ParentOf(const std::string& hostPath) {
  std::string path = hostPath;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The error a missing path gives: file not found when only its last component is missing.
void SetMissingPathError(const std::string& hostPath) {
  struct stat status;
  SetLastErrorCode(StatHost(ParentOf(hostPath), &status) ? kErrorFileNotFound : kErrorPathNotFound);
}

bool CopyContents(int from, int to) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = InjectFault(FileOperation::kRead) ? -1 : read(from, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t written = 0; written < got;) {
      const ssize_t put =
          InjectFault(FileOperation::kWrite)
              ? -1
              : write(to, buffer + written, static_cast<std::size_t>(got - written));
      if (put < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      written += put;
    }
  }
}

std::string JoinNames(const ResolvedPath& resolved, bool shortNames) {
  std::string text = resolved.prefix;
  // Walk the host folders from the drive down to name each component.
  std::string folder = resolved.host;
  for (std::size_t i = 0; i < resolved.names.size(); ++i) folder = ParentOf(folder);
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

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
  if (!StatHost(host, &status)) {
    SetMissingPathError(host);
    return kInvalidAttributes;
  }
  return AttributesOf(host, status);
}

bool SetAttributes(const std::string& path, std::uint32_t attributes) {
  const std::string host = ToHostPath(path);
  struct stat status;
  if (!StatHost(host, &status)) {
    SetMissingPathError(host);
    return false;
  }
  std::uint32_t recorded = attributes & kRecordedFileBits;
  if (S_ISDIR(status.st_mode)) {
    // A read-only folder still takes new files on Windows, so the bit is only recorded.
    recorded |= attributes & kAttributeReadOnly;
  } else {
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    mode_t mode = status.st_mode & 07777;
    if ((attributes & kAttributeReadOnly) != 0) {
      mode &= ~writable;
    } else if ((mode & writable) == 0) {
      mode |= S_IWUSR;
    }
    if (chmod(host.c_str(), mode) != 0) {
      SetLastErrorFromErrno(errno);
      return false;
    }
  }
  RecordAttributes(host, recorded);
  return true;
}

bool MakeDirectory(const std::string& path) {
  const std::string host = ToHostPath(path);
  if (mkdir(host.c_str(), 0777) != 0) {
    if (errno == ENOENT) {
      SetLastErrorCode(kErrorPathNotFound);
    } else {
      SetLastErrorFromErrno(errno);
    }
    return false;
  }
  return true;
}

bool RemoveEmptyDirectory(const std::string& path) {
  const std::string host = ToHostPath(path);
  struct stat status;
  if (!StatHost(host, &status)) {
    SetMissingPathError(host);
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    SetLastErrorCode(kErrorNotADirectory);
    return false;
  }
  if ((RecordedAttributes(host) & kAttributeReadOnly) != 0) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (rmdir(host.c_str()) != 0) {
    SetLastErrorFromErrno(errno == EEXIST ? ENOTEMPTY : errno);
    return false;
  }
  RecordAttributes(host, 0);
  return true;
}

bool RemoveFile(const std::string& path) {
  const std::string host = ToHostPath(path);
  struct stat status;
  if (lstat(host.c_str(), &status) != 0) {
    SetMissingPathError(host);
    return false;
  }
  if (S_ISDIR(status.st_mode) || IsReadOnlyFile(status)) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (unlink(host.c_str()) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  RecordAttributes(host, 0);
  return true;
}

bool CopyOneFile(const std::string& from, const std::string& to, bool failIfExists) {
  const std::string source = ToHostPath(from);
  const std::string target = ToHostPath(to);
  struct stat sourceStatus;
  if (!StatHost(source, &sourceStatus)) {
    SetMissingPathError(source);
    return false;
  }
  if (S_ISDIR(sourceStatus.st_mode)) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  struct stat targetStatus;
  if (StatHost(target, &targetStatus)) {
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
  const int input =
      InjectFault(FileOperation::kOpen) ? -1 : open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (input < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  const int output = InjectFault(FileOperation::kOpen)
                         ? -1
                         : open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (output < 0) {
    SetLastErrorCode(errno == ENOENT ? kErrorPathNotFound : kErrorAccessDenied);
    close(input);
    return false;
  }
  bool copied = CopyContents(input, output);
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

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  const std::string source = ToHostPath(from);
  const std::string target = ToHostPath(to);
  struct stat status;
  if (!StatHost(source, &status)) {
    SetMissingPathError(source);
    return false;
  }
  if (StatHost(target, &status) && (S_ISDIR(status.st_mode) || IsReadOnlyFile(status))) {
    SetLastErrorCode(kErrorAccessDenied);
    return false;
  }
  if (InjectFault(FileOperation::kRename) || rename(source.c_str(), target.c_str()) != 0) {
    SetLastErrorCode(errno == ENOENT ? kErrorPathNotFound : kErrorAccessDenied);
    return false;
  }
  RecordAttributes(target, RecordedAttributes(source));
  RecordAttributes(source, 0);
  // Write-through: the new name is on the disk when this returns, not at some later flush.
  const int folder = open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
  const int folder = open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
  std::string host = resolved.host;
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  DIR* directory = opendir(host.c_str());
  if (directory == nullptr) {
    SetLastErrorCode(kErrorPathNotFound);
    return false;
  }
  const bool driveRoot = resolved.names.empty() && !resolved.prefix.empty();
  // Every folder but a drive root holds "." and "..": a pattern that matches them starts the
  // listing even when nothing else matches.
  bool started = !driveRoot && !namePattern.empty() &&
                 (MatchesWildcard(namePattern, ".") || MatchesWildcard(namePattern, ".."));
  // A name without wildcards may be an 8.3 alias; only then are aliases worth working out.
  const bool matchAliases =
      !HasWildcards(namePattern) && namePattern.find('~') != std::string::npos;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (MatchesWildcard(namePattern, name) ||
        (matchAliases && MatchesWildcard(namePattern, ShortNameOf(host, name)))) {
      names.push_back(name);
    }
  }
  closedir(directory);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string upperA = UpperCase(a), upperB = UpperCase(b);
    return upperA != upperB ? upperA < upperB : a < b;
  });
  for (const std::string& name : names) {
    const std::string entryHost = host + "/" + name;
    struct stat status;
    if (!StatHost(entryHost, &status)) continue;
    DirectoryEntry entry;
    entry.name = name;
    entry.attributes = AttributesOf(entryHost, status);
    entry.size = S_ISDIR(status.st_mode) ? 0 : static_cast<std::uint64_t>(status.st_size);
    entries->push_back(entry);
  }
  if (entries->empty() && !started) {
    SetLastErrorCode(kErrorFileNotFound);
    return false;
  }
  return true;
}

}  // namespace platform
