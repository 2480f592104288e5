// A file opened by a Windows path, for byte-exact reading and writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class File {
 public:
  enum class Mode {
    kRead,            // read; others may read but not write meanwhile
    kReadShared,      // read; others may read and write meanwhile
    kReadWrite,       // read and write an existing file, or create it empty
    kCreate,          // create or truncate, then write
    kCreateExclusive  // create a new file only; fails when it exists
  };

  File();
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens `path` as `mode` says, closing what was open; false, with the reason in LastErrorCode,
  // when it cannot.
  bool Open(const std::string& path, Mode mode);
  void Close();
  bool IsOpen() const;

  // Bytes read; fewer than `count` at the end of the file, 0 on error.
  std::size_t Read(void* buffer, std::size_t count);
  // Writes all `count` bytes, or returns false.
  bool Write(const void* buffer, std::size_t count);
  // Puts what was written on the disk (FlushFileBuffers), so a rename that follows cannot reach
  // the disk before the contents do.
  bool Flush();
  // The next read or write starts at `offset` bytes from the start, or at the end.
  bool Seek(std::uint64_t offset);
  bool SeekToEnd();
  // The length, or UINT64_MAX when it cannot be taken.
  std::uint64_t Length() const;
  // Gives this file the time stamps of `source`, as a copy keeps them (SetFileTime).
  bool CopyTimeStampsFrom(const File& source);
  // Where the next read or write starts, or UINT64_MAX when it cannot be taken.
  std::uint64_t Position() const;

 private:
  friend class FolderWalk;
  // Open of a path the walk has resolved already (POSIX: a host path).
  bool OpenResolved(const std::string& path, Mode mode);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Appends the rest of `file` to `bytes`. False when a read fails before the end its length
// gives: a failing read otherwise looks like the end of the file.
bool ReadToEnd(File& file, std::string* bytes);

}  // namespace platform
