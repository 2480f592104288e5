// Files and folders addressed by Windows paths (drive letter, backslashes, any letter case).
// On Windows these are the system calls; elsewhere the volume map resolves the paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Longest path the system handles: 259 characters in a 260-byte buffer.
constexpr std::size_t kMaxPath = 259;

// File attribute bits, the Windows values.
constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeHidden = 0x02;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeNormal = 0x80;
// A symbolic link or junction (POSIX: a symbolic link), a folder when its target is one.
constexpr std::uint32_t kAttributeReparsePoint = 0x400;
constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// True when the path names an existing folder; a trailing backslash is allowed (PathIsDirectoryA).
bool IsDirectory(const std::string& path);
// True when the path names an existing file or folder.
bool PathExists(const std::string& path);
// The attribute bits above; kInvalidAttributes when the path does not exist (GetFileAttributesA).
std::uint32_t GetAttributes(const std::string& path);
// Sets the attribute bits. A read-only file can then no longer be written, deleted or replaced;
// a read-only folder still takes new files (SetFileAttributesA).
bool SetAttributes(const std::string& path, std::uint32_t attributes);

// Creates one folder; fails when its parent is missing or the path exists (CreateDirectoryA).
bool MakeDirectory(const std::string& path);
// Removes a folder only when it is empty and not read-only (RemoveDirectoryA).
bool RemoveEmptyDirectory(const std::string& path);
// Removes a file; fails on a folder and on a read-only file, as on Windows (DeleteFileA).
bool RemoveFile(const std::string& path);
// Copies one file with its time stamp and attributes. An existing target is replaced unless
// `failIfExists`; fails on a folder, a read-only target and a copy onto itself (CopyFileA).
bool CopyOneFile(const std::string& from, const std::string& to, bool failIfExists);
// Puts `from` in place of `to` in one step, so that a reader finds the old file or the new one,
// never a mix, and the new name is on the disk when it returns (MoveFileExA, write-through).
bool ReplaceFileAtomically(const std::string& from, const std::string& to);
// MoveFileExA with write-through and no replacing: renames a folder (or file) to a new name.
bool MoveToNewName(const std::string& from, const std::string& to);

// The path with every component's full name, or with its 8.3 short form; the empty text when
// the path does not exist (GetLongPathNameA / GetShortPathNameA).
std::string GetLongPathForm(const std::string& path);
std::string GetShortPathForm(const std::string& path);

// The Windows error code of the last failed call of this layer (GetLastError).
std::uint32_t LastErrorCode();
// The codes of a name that does not exist, which callers tell apart from a disk that fails.
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;

struct DirectoryEntry {
  std::string name;  // the entry's name, no folder
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  bool IsDirectory() const { return (attributes & kAttributeDirectory) != 0; }
  bool IsLink() const { return (attributes & kAttributeReparsePoint) != 0; }
};

// FindFirstFileA/FindNextFileA over `pattern` (a folder path followed by a name with the
// wildcards * and ?, matched as Windows does: case-insensitive, "*.*" matches every name).
// "." and ".." are left out, but they count as matches: an empty folder listed with "*" or "*.*"
// gives true and no entries. False when the listing cannot start (no such folder, no match);
// `entries` then holds nothing. Order: as the file system returns them (POSIX: by name, letter
// case ignored).
bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>* entries);

}  // namespace platform
