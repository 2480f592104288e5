// Carry-less multiplication folds the message 128 bits at a time: a block B followed by n more
// bits leaves the same remainder as B * x^n, and x^n mod P is a constant, so four 16-byte lanes
// fold forward independently and only the last 16 bytes need the tables.
#include "migration/crc32_internal.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)

#include <emmintrin.h>
#include <wmmintrin.h>

#include <cstring>

#if defined(_MSC_VER)
#include <intrin.h>
#define SETUP_CARRYLESS_TARGET
#else
#include <cpuid.h>
#define SETUP_CARRYLESS_TARGET __attribute__((target("pclmul,sse2")))
#endif

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320;

// Product of two remainders in the reflected form (bit 31 is x^0), reduced modulo P.
constexpr std::uint32_t MultiplyModP(std::uint32_t a, std::uint32_t b) {
  std::uint32_t product = 0;
  for (std::uint32_t mask = 0x80000000u; mask != 0; mask >>= 1) {
    if ((a & mask) != 0) {
      product ^= b;
    }
    b = (b & 1) != 0 ? (b >> 1) ^ kPolynomial : b >> 1;
  }
  return product;
}

constexpr std::uint32_t PowerOfXModP(unsigned exponent) {
  std::uint32_t result = 0x80000000u;  // x^0
  std::uint32_t square = 0x40000000u;  // x^1
  for (; exponent != 0; exponent >>= 1) {
    if ((exponent & 1) != 0) {
      result = MultiplyModP(result, square);
    }
    square = MultiplyModP(square, square);
  }
  return result;
}

// The multiplier, as a 33-bit reflected operand, that moves a 64-bit half forward: a reflected
// 64x33-bit product lands 32 degrees above the half it multiplies, hence the 32 taken off.
constexpr long long FoldConstant(unsigned exponent) {
  return static_cast<long long>(static_cast<std::uint64_t>(PowerOfXModP(exponent - 32)) << 1);
}

// Moves a 128-bit block forward by `distance` bits: its first half (low quadword) lies 64 bits
// further back than its second.
struct FoldConstants {
  long long first;
  long long second;
};
constexpr FoldConstants MakeFoldConstants(unsigned distance) {
  return {FoldConstant(distance + 64), FoldConstant(distance)};
}

constexpr FoldConstants kFold512 = MakeFoldConstants(512);
constexpr FoldConstants kFold128 = MakeFoldConstants(128);

SETUP_CARRYLESS_TARGET inline __m128i Fold(__m128i block, __m128i constants, __m128i next) {
  const __m128i first = _mm_clmulepi64_si128(block, constants, 0x00);
  const __m128i second = _mm_clmulepi64_si128(block, constants, 0x11);
  return _mm_xor_si128(_mm_xor_si128(first, second), next);
}

SETUP_CARRYLESS_TARGET inline __m128i Load(const unsigned char* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

}  // namespace

bool CanUseCarrylessCrc32() {
  constexpr unsigned kPclmulqdqBit = 1u << 1;  // CPUID leaf 1, ECX
  constexpr unsigned kSse2Bit = 1u << 26;      // CPUID leaf 1, EDX
#if defined(_MSC_VER)
  int registers[4] = {};
  __cpuid(registers, 1);
  const unsigned ecx = static_cast<unsigned>(registers[2]);
  const unsigned edx = static_cast<unsigned>(registers[3]);
#else
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return false;
  }
#endif
  return (ecx & kPclmulqdqBit) != 0 && (edx & kSse2Bit) != 0;
}

SETUP_CARRYLESS_TARGET std::uint32_t UpdateCrc32Carryless(const void* bytes, std::size_t count,
                                                          std::uint32_t running) {
  const auto* next = static_cast<const unsigned char*>(bytes);
  if (count < 64) {
    return UpdateCrc32WithTables(bytes, count, running);
  }
  // The running register enters as if it were part of the first four message bytes.
  __m128i lanes[4] = {_mm_xor_si128(Load(next), _mm_cvtsi32_si128(static_cast<int>(running))),
                      Load(next + 16), Load(next + 32), Load(next + 48)};
  next += 64;
  count -= 64;

  const __m128i fold512 = _mm_set_epi64x(kFold512.second, kFold512.first);
  for (; count >= 64; count -= 64, next += 64) {
    for (int lane = 0; lane < 4; ++lane) {
      lanes[lane] = Fold(lanes[lane], fold512, Load(next + 16 * lane));
    }
  }

  const __m128i fold128 = _mm_set_epi64x(kFold128.second, kFold128.first);
  __m128i block = Fold(lanes[0], fold128, lanes[1]);
  block = Fold(block, fold128, lanes[2]);
  block = Fold(block, fold128, lanes[3]);
  for (; count >= 16; count -= 16, next += 16) {
    block = Fold(block, fold128, Load(next));
  }

  // The folded block leaves the remainder of everything so far when run from a zero register.
  unsigned char folded[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), block);
  const std::uint32_t crc = UpdateCrc32WithTables(folded, sizeof folded, 0);
  return UpdateCrc32WithTables(next, count, crc);
}

#else

bool CanUseCarrylessCrc32() {
  return false;
}

std::uint32_t UpdateCrc32Carryless(const void* bytes, std::size_t count, std::uint32_t running) {
  return UpdateCrc32WithTables(bytes, count, running);
}

#endif
