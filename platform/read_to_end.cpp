#include "platform/file.h"

namespace platform {

bool ReadToEnd(File& file, std::string* bytes) {
  const std::uint64_t length = file.Length();
  const std::size_t start = bytes->size();
  char chunk[65536];
  while (const std::size_t got = file.Read(chunk, sizeof chunk)) bytes->append(chunk, got);
  return length == UINT64_MAX || bytes->size() - start >= length;
}

}  // namespace platform
