// Little-endian 32-bit values in byte buffers, as the system's files store them.
#pragma once

#include <cstdint>

// The compilers turn this into one load on little-endian machines.
inline std::uint32_t LoadLittleEndian32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}
