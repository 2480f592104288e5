// The trailer at the end of an installation package: the setup program, the payload (an
// installer executable) and 24 bytes that say where the payload starts and carry the MD5 digest
// of everything before them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/md5.h"

constexpr std::size_t kTrailerSize = 24;

struct PackageTrailer {
  std::uint32_t payloadOffset = 0;
  std::uint32_t reserved = 0;  // never read by the check; packages carry anything here
  Md5Digest digest{};
};

// Where the payload lies in a package file.
struct PayloadRange {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

PackageTrailer DecodeTrailer(const std::uint8_t (&bytes)[kTrailerSize]);
void EncodeTrailer(const PackageTrailer& trailer, std::uint8_t (&bytes)[kTrailerSize]);

// The payload of a package of `fileLength` bytes, or nothing when the file cannot hold a
// trailer or the offset does not point into the bytes before it.
std::optional<PayloadRange> LocatePayload(std::uint64_t fileLength, const PackageTrailer& trailer);

// The 35-character text shown when a package's digest does not match: the stored digest folded
// with each byte's neighbour, in four hyphenated groups of upper-case hexadecimal.
std::string FormatSignature(const Md5Digest& digest);
