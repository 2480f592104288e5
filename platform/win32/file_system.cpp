// Files and folders through the system's 8-bit file functions.
#include "platform/file_system.h"

// clang-format off
#include <windows.h>
#include <shlwapi.h>
// clang-format on

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
  FindClose(search);
  return true;
}

}  // namespace platform
