#include "app/package_read.h"

#include <algorithm>
#include <memory>

bool ReadExactly(const ReadFunction& read, void* buffer, std::size_t size) {
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    const std::size_t got = read(bytes, size);
    if (got == 0) {
      return false;
    }
    bytes += got;
    size -= got;
  }
  return true;
}

bool ReadInPieces(const ReadFunction& read, std::uint64_t size, const PieceFunction& consume) {
  // Not value-initialised: every byte is read into before it is used.
  const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kPackagePieceSize]);
  while (size > 0) {
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(size, kPackagePieceSize));
    if (!ReadExactly(read, buffer.get(), piece) || !consume(buffer.get(), piece)) {
      return false;
    }
    size -= piece;
  }
  return true;
}
