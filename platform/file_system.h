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

// What is at a path; kUnknown when the disk could not tell (a folder on the way or the entry
// itself could not be looked at; the reason in LastErrorCode), which is never "not there".
enum class PathKind { kMissing, kFile, kFolder, kUnknown };
// A trailing backslash asks for a folder: "file.txt\" is missing (GetFileAttributesA).
PathKind QueryPath(const std::string& path);
// Whether the last failure of this layer meant "not there" (no such file or folder, nothing that
// matches), rather than a disk, a listing or a permission that failed.
bool LastErrorMeansMissing();

// True when the path names an existing folder; a trailing backslash is allowed (PathIsDirectoryA).
// False also when the disk cannot tell: where that matters, QueryPath.
bool IsDirectory(const std::string& path);
// True when the path names an existing file or folder; false also when the disk cannot tell.
bool PathExists(const std::string& path);
// The attribute bits above; kInvalidAttributes when the path does not exist or cannot be looked
// at, LastErrorMeansMissing telling which (GetFileAttributesA).
std::uint32_t GetAttributes(const std::string& path);
// Sets the attribute bits. A read-only file can then no longer be written, deleted or replaced;
// a read-only folder still takes new files (SetFileAttributesA).
bool SetAttributes(const std::string& path, std::uint32_t attributes);

// Creates one folder; fails when its parent is missing or the path exists (CreateDirectoryA).
bool MakeDirectory(const std::string& path);
// MakeDirectory, then the parent folder flushed: for a folder whose loss in a power cut would
// take what is later written into it along.
bool MakeDirectoryDurably(const std::string& path);
// Creates every missing folder along `path` (for D:\A\B: D:\A, then D:\A\B); stops at the first
// that cannot be made or looked at. True when `path` names a folder afterwards.
bool MakeDirectoryTree(const std::string& path);
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

// Puts a file's contents on the disk (FlushFileBuffers; POSIX fsync).
bool FlushFile(const std::string& path);
// Puts a folder's entries on the disk: a file made, renamed or deleted in it survives a power
// loss only once its folder is flushed (POSIX fsync of the folder; Windows FlushFileBuffers of
// the folder's handle).
bool FlushFolder(const std::string& path);

// The path with every component's full name, or with its 8.3 short form; the empty text when
// the path does not exist (GetLongPathNameA / GetShortPathNameA).
std::string GetLongPathForm(const std::string& path);
std::string GetShortPathForm(const std::string& path);

// The Windows error code of the last failed call of this layer (GetLastError).
std::uint32_t LastErrorCode();
// The codes of a name that does not exist, which callers tell apart from a disk that fails.
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
// The code of a folder or file made where one is already (CreateDirectoryA).
constexpr std::uint32_t kErrorAlreadyExists = 183;

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
// gives true and no entries. False when the listing cannot start (no such folder, no match) or
// fails part-way; `entries` then holds nothing, and LastErrorMeansMissing tells an empty answer
// from a failure. Order: as the file system returns them (POSIX: by name, letter
// case ignored).
bool ListDirectory(const std::string& pattern, std::vector<DirectoryEntry>* entries);

}  // namespace platform
