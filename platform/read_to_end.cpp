#include "platform/file.h"

namespace platform {

bool ReadToEnd(File& file, std::string* bytes) {
  const std::uint64_t length = file.Length();
  const std::uint64_t position = file.Position();
  const bool known = length != UINT64_MAX && position != UINT64_MAX;
  const std::uint64_t rest = known && length > position ? length - position : 0;
  const std::size_t start = bytes->size();
  char chunk[65536];
  while (const std::size_t got = file.Read(chunk, sizeof chunk)) bytes->append(chunk, got);
  return !known || bytes->size() - start >= rest;
}

}  // namespace platform
