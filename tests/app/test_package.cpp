#include "tests/app/test_package.h"

#include <cstdint>

#include "app/md5.h"
#include "app/package_trailer.h"

std::string MakePackage(const std::string& program, const std::string& payload) {
  const std::string bytes = program + payload;
  PackageTrailer trailer;
  trailer.payloadOffset = static_cast<std::uint32_t>(program.size());
  trailer.digest = ComputeMd5(bytes.data(), bytes.size());
  std::uint8_t encoded[kTrailerSize];
  EncodeTrailer(trailer, encoded);
  return bytes + std::string(reinterpret_cast<const char*>(encoded), kTrailerSize);
}
