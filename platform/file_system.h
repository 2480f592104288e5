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

// PathIsDirectoryA: the path names an existing folder (a trailing backslash is allowed).
bool IsDirectory(const std::string& path);
// The path names an existing file or folder (CFile::GetStatus).
bool PathExists(const std::string& path);
// GetFileAttributesA; kInvalidAttributes when the path does not exist.
std::uint32_t GetAttributes(const std::string& path);
// SetFileAttributesA.
bool SetAttributes(const std::string& path, std::uint32_t attributes);

// CreateDirectoryA: one level; fails when the parent is missing or the folder exists.
bool MakeDirectory(const std::string& path);
// RemoveDirectoryA: only an empty folder.
bool RemoveEmptyDirectory(const std::string& path);
// DeleteFileA: fails on read-only files, as on Windows.
bool RemoveFile(const std::string& path);
// CopyFileA.
bool CopyOneFile(const std::string& from, const std::string& to, bool failIfExists);
// MoveFileExA with replace-existing and write-through: puts `from` in place of `to` at once.
bool ReplaceFileAtomically(const std::string& from, const std::string& to);
// MoveFileExA with write-through and no replacing: renames a folder (or file) to a new name.
bool MoveToNewName(const std::string& from, const std::string& to);

// GetLongPathNameA / GetShortPathNameA; the empty text when the path does not exist.
std::string GetLongPathForm(const std::string& path);
std::string GetShortPathForm(const std::string& path);

// GetLastError of the last failed call of this layer (a Windows error code).
std::uint32_t LastErrorCode();

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
