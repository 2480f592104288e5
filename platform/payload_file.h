// The temporary file a payload program is written to and started from. It is always a file this
// object has just created, and once sealed nobody can change what will be started.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/process.h"

namespace platform {

class PayloadFile {
 public:
  PayloadFile();
  // Lets go of the file; it stays on disk.
  ~PayloadFile();
  PayloadFile(const PayloadFile&) = delete;
  PayloadFile& operator=(const PayloadFile&) = delete;

  // Creates a new file named `prefix`, four hexadecimal digits and ".tmp" in `folder` (which ends
  // with a backslash), choosing another number while the name is taken, never opening an existing
  // file. Only this object can write to it.
  bool Create(const std::string& folder, const std::string& prefix);
  // The full path of the file; empty before Create succeeded.
  const std::string& Path() const;

  bool Write(const void* data, std::size_t size);

  // Ends writing. From here until Start, the file can no longer be written, deleted or replaced
  // (Windows), or is started through the very descriptor that wrote it (POSIX). Read then gives
  // the content from its start, so the caller can confirm it is what it wrote.
  bool Seal();
  // Bytes read; fewer than `size` at the end, 0 on an error.
  std::size_t Read(void* buffer, std::size_t size);

  // Starts the sealed file as StartProcess does (no arguments, no inherited handles, default
  // environment and working directory), then lets go of it.
  bool Start(ProcessHandles* handles);
  // Lets go of a file that will not be started and deletes it; true when it is gone.
  bool Discard();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
