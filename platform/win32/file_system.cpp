// Files and folders through the system's 8-bit file functions.
#include "platform/file_system.h"

// clang-format off
#include <windows.h>
#include <shlwapi.h>
// clang-format on

#include "platform/path_split.h"

namespace platform {
namespace {

// GetLongPathNameA and GetShortPathNameA: the converted path, or "" on failure.
template <typename Convert>
std::string ConvertedPath(const std::string& path, Convert convert) {
  std::string buffer(MAX_PATH, '\0');
  DWORD length = convert(path.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {
    buffer.resize(length);
    length = convert(path.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return "";
  buffer.resize(length);
  return buffer;
}

}  // namespace

std::uint32_t LastErrorCode() {
  return GetLastError();
}

PathKind QueryPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return LastErrorMeansMissing() ? PathKind::kMissing : PathKind::kUnknown;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kFile;
}

bool LastErrorMeansMissing() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
      return true;
    default:
      return false;
  }
}

bool IsDirectory(const std::string& path) {
  return PathIsDirectoryA(path.c_str()) != FALSE;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::uint32_t GetAttributes(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

bool SetAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool MakeDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool MakeDirectoryDurably(const std::string& path) {
  if (!MakeDirectory(path)) return false;
  std::string parent = WithoutTrailingSeparators(path);
  const std::size_t separator = FindLastSeparator(parent);
  if (separator == std::string::npos) return true;
  parent.erase(separator + 1);
  return FlushFolder(parent);
}

bool RemoveEmptyDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool CopyOneFile(const std::string& from, const std::string& to, bool failIfExists) {
  return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool MoveToNewName(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool FlushFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const BOOL flushed = FlushFileBuffers(file);
  const DWORD error = GetLastError();
  CloseHandle(file);
  SetLastError(error);
  return flushed != FALSE;
}

bool FlushFolder(const std::string& path) {
  // A folder opens only with backup semantics; its handle flushes the folder's entries.
  const HANDLE folder = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  BOOL flushed = FlushFileBuffers(folder);
  // A file system that cannot flush a folder (FAT) writes its entries through anyway.
  if (flushed == FALSE && GetLastError() == ERROR_INVALID_FUNCTION) flushed = TRUE;
  const DWORD error = GetLastError();
  CloseHandle(folder);
  SetLastError(error);
  return flushed != FALSE;
}

std::string GetLongPathForm(const std::string& path) {
  return ConvertedPath(path, GetLongPathNameA);
}

std::string GetShortPathForm(const std::string& path) {
  return ConvertedPath(path, GetShortPathNameA);
}

bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>* entries) {
  entries->clear();
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    DirectoryEntry entry;
    entry.name = name;
    entry.attributes = found.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entries->push_back(entry);
  } while (FindNextFileA(search, &found) != FALSE);
  // A listing that stops for any other reason than its end lacks entries: it failed.
  const DWORD error = GetLastError();
  FindClose(search);
  SetLastError(error);
  if (error == ERROR_NO_MORE_FILES) return true;
  entries->clear();
  return false;
}

}  // namespace platform
