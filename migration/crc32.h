// CRC-32 (reflected polynomial 0xEDB88320, the checksum of zlib and PNG): the checksum that guards
// the binary parameter files.
#pragma once

#include <cstddef>
#include <cstdint>

// The register value a computation starts from; the finished checksum is the register inverted.
constexpr std::uint32_t kCrc32Start = 0xFFFFFFFF;

// Folds `count` bytes into the running register.
std::uint32_t UpdateCrc32(const void* bytes, std::size_t count, std::uint32_t running);

// The finished checksum of one buffer.
std::uint32_t ComputeCrc32(const void* bytes, std::size_t count);
