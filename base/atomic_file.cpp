#include "base/atomic_file.h"

#include "platform/file.h"
#include "platform/file_system.h"

bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                         const std::string& temporary) {
  platform::File file;
  // On the disk before the rename, or a power loss could leave an empty file in place of both.
  bool written = file.Open(temporary, platform::File::Mode::kCreate) &&
                 file.Write(bytes.data(), bytes.size()) && file.Flush();
  file.Close();
  written = written && platform::ReplaceFileAtomically(temporary, path);
  if (!written) {
    platform::RemoveFile(temporary);
  }
  return written;
}
