#include "app/package_trailer.h"

#include <cstdio>

#include "base/little_endian.h"

namespace {

void WriteUint32(std::uint32_t value, std::uint8_t* bytes) {
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace

PackageTrailer DecodeTrailer(const std::uint8_t (&bytes)[kTrailerSize]) {
  PackageTrailer trailer;
  trailer.payloadOffset = LoadLittleEndian32(bytes);
  trailer.reserved = LoadLittleEndian32(bytes + 4);
  for (std::size_t i = 0; i < trailer.digest.size(); ++i) {
    trailer.digest[i] = bytes[8 + i];
  }
  return trailer;
}

void EncodeTrailer(const PackageTrailer& trailer, std::uint8_t (&bytes)[kTrailerSize]) {
  WriteUint32(trailer.payloadOffset, bytes);
  WriteUint32(trailer.reserved, bytes + 4);
  for (std::size_t i = 0; i < trailer.digest.size(); ++i) {
    bytes[8 + i] = trailer.digest[i];
  }
}

std::optional<PayloadRange> LocatePayload(std::uint64_t fileLength, const PackageTrailer& trailer) {
  if (fileLength < kTrailerSize) {
    return std::nullopt;
  }
  const std::uint64_t beforeTrailer = fileLength - kTrailerSize;
  // An empty payload is no program either.
  if (trailer.payloadOffset >= beforeTrailer) {
    return std::nullopt;
  }
  return PayloadRange{trailer.payloadOffset, beforeTrailer - trailer.payloadOffset};
}

std::string FormatSignature(const Md5Digest& digest) {
  Md5Digest folded = digest;
  // In place and in order, so the last byte meets the already folded first one.
  for (std::size_t i = 0; i < folded.size(); ++i) {
    folded[i] ^= folded[(i + 1) % folded.size()];
  }
  char text[36];
  std::snprintf(
      text, sizeof text, "%02X%02X%02X%02X-%02X%02X%02X%02X-%02X%02X%02X%02X-%02X%02X%02X%02X",
      folded[0], folded[1], folded[2], folded[3], folded[4], folded[5], folded[6], folded[7],
      folded[8], folded[9], folded[10], folded[11], folded[12], folded[13], folded[14], folded[15]);
  return text;
}
