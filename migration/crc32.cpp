#include "migration/crc32.h"

#include <array>

#include "base/little_endian.h"
#include "migration/crc32_internal.h"

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320;
constexpr std::size_t kSlices = 8;
// Below this the carry-less path has no whole fold to do.
constexpr std::size_t kCarrylessMinimum = 64;

using Crc32Tables = std::array<std::array<std::uint32_t, 256>, kSlices>;

// Table 0 is the classic byte table; table k advances a byte that lies k positions further back,
// so eight bytes fold into the register with eight independent look-ups.
constexpr Crc32Tables MakeTables() {
  Crc32Tables tables{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t value = byte;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 1) != 0 ? (value >> 1) ^ kPolynomial : value >> 1;
    }
    tables[0][byte] = value;
  }
  for (std::size_t byte = 0; byte < 256; ++byte) {
    for (std::size_t slice = 1; slice < kSlices; ++slice) {
      const std::uint32_t previous = tables[slice - 1][byte];
      tables[slice][byte] = (previous >> 8) ^ tables[0][previous & 0xFF];
    }
  }
  return tables;
}

constexpr Crc32Tables kTables = MakeTables();

bool CarrylessAvailable() {
  static const bool available = CanUseCarrylessCrc32();
  return available;
}

}  // namespace

std::uint32_t UpdateCrc32WithTables(const void* bytes, std::size_t count, std::uint32_t running) {
  const auto* next = static_cast<const unsigned char*>(bytes);
  std::uint32_t crc = running;
  for (; count >= kSlices; count -= kSlices, next += kSlices) {
    const std::uint32_t low = crc ^ LoadLittleEndian32(next);
    const std::uint32_t high = LoadLittleEndian32(next + 4);
    crc = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
          kTables[4][low >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
          kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
  }
  for (; count > 0; --count, ++next) {
    crc = (crc >> 8) ^ kTables[0][(crc ^ *next) & 0xFF];
  }
  return crc;
}

std::uint32_t UpdateCrc32(const void* bytes, std::size_t count, std::uint32_t running) {
  if (count >= kCarrylessMinimum && CarrylessAvailable()) {
    return UpdateCrc32Carryless(bytes, count, running);
  }
  return UpdateCrc32WithTables(bytes, count, running);
}

std::uint32_t ComputeCrc32(const void* bytes, std::size_t count) {
  return ~UpdateCrc32(bytes, count, kCrc32Start);
}
