#include "migration/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "migration/crc32_internal.h"

namespace {

// One bit at a time, straight from the polynomial: the reference the fast paths must match.
std::uint32_t BitwiseCrc32(const unsigned char* bytes, std::size_t count) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
  }
  return ~crc;
}

std::vector<unsigned char> RandomBytes(std::size_t count) {
  std::mt19937 generator(20240603);
  std::vector<unsigned char> bytes(count);
  for (unsigned char& byte : bytes) {
    byte = static_cast<unsigned char>(generator());
  }
  return bytes;
}

TEST(Crc32Test, CheckValueAndEmptyInput) {
  EXPECT_EQ(ComputeCrc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(ComputeCrc32("", 0), 0u);
}

TEST(Crc32Test, EveryPathAgreesWithTheBitwiseReferenceAtAnyLengthAndAlignment) {
  const std::vector<unsigned char> bytes = RandomBytes(4096 + 64);
  for (std::size_t offset : {0u, 1u, 3u, 7u}) {
    for (std::size_t count :
         {0u, 1u, 7u, 8u, 15u, 16u, 63u, 64u, 65u, 79u, 127u, 128u, 129u, 1000u, 4096u}) {
      const unsigned char* start = bytes.data() + offset;
      const std::uint32_t expected = BitwiseCrc32(start, count);
      SCOPED_TRACE(testing::Message() << "offset " << offset << " count " << count);
      EXPECT_EQ(ComputeCrc32(start, count), expected);
      EXPECT_EQ(~UpdateCrc32WithTables(start, count, kCrc32Start), expected);
      if (CanUseCarrylessCrc32()) {
        EXPECT_EQ(~UpdateCrc32Carryless(start, count, kCrc32Start), expected);
      }
    }
  }
}

TEST(Crc32Test, PiecewiseUpdatesEqualOneUpdate) {
  const std::vector<unsigned char> bytes = RandomBytes(10000);
  std::uint32_t running = kCrc32Start;
  for (std::size_t done = 0, piece = 1; done < bytes.size(); done += piece, piece = piece * 3 + 1) {
    const std::size_t count = std::min(piece, bytes.size() - done);
    running = UpdateCrc32(bytes.data() + done, count, running);
  }
  EXPECT_EQ(~running, BitwiseCrc32(bytes.data(), bytes.size()));
}

}  // namespace
